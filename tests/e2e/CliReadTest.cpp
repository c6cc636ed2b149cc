// kv9052r-cli read against the virtual gateway program over a real pseudo-terminal.

#include <gtest/gtest.h>

#include "CliProcess.h"
#include "SimulatorProcess.h"
#include "platform/QtSerialPort.h"
#include "support/TestFiles.h"

namespace kv::test {
namespace {

class CliRead : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureCoreApplication(); }
    SimulatorProcess simulator;
};

TEST_F(CliRead, PrintsTheDemoGatewayAsJson) {
    simulator.Start({"--com", "5", "--demo"});
    const CliRun run = RunCli({"read", "--port", "COM5", "--json"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();

    for (const char* line : {"\"NodeId\": 5", "\"BaudIndex\": 2", "\"Year\": 2009",
                             "\"Ip\": \"192.168.255.1\"", "\"Length\": 10"})
        EXPECT_TRUE(run.Out.contains(QLatin1String(line))) << line << run.Out.toStdString();

    // The same gateway by its number and by its device path, readable text this time.
    const CliRun byNumber = RunCli({"read", "--port", "5"});
    EXPECT_EQ(byNumber.ExitCode, 0);
    EXPECT_TRUE(byNumber.Out.contains("1.03-2009/07/15")) << byNumber.Out.data();
    EXPECT_EQ(RunCli({"read", "--port", simulator.Device}).Out, byNumber.Out);
}

TEST_F(CliRead, SaysWhatWentWrongLikeTheWindowDoes) {
    simulator.Start({"--com", "6", "--model", "MX-2100"});
    CliRun run = RunCli({"read", "--port", "COM6"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err.section('\n', 0, 0), "This modules is not 5308!");

    QtSerialPort holder;
    holder.SelectPort(6);
    ASSERT_TRUE(holder.Open().ok());
    run = RunCli({"read", "--port", "COM6"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "COM 6 has been occupied");
    holder.Close();

    run = RunCli({"read", "--port", "COM16"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "Can't open COM 16!");

    run = RunCli({"read", "--port", "COM17"});
    EXPECT_NE(run.ExitCode, 0);
    EXPECT_TRUE(run.Err.contains("COM 1 to COM 16")) << run.Err.toStdString();

    run = RunCli({"read"});
    EXPECT_NE(run.ExitCode, 0);
    EXPECT_TRUE(run.Err.contains("--port")) << run.Err.toStdString();
}

TEST_F(CliRead, AGatewayThatFallsSilentEndsInTimeout) {
    simulator.Start({"--com", "4", "--demo", "--stop-after", "40"});
    const QString trace = simulator.Folder.filePath("trace.txt");
    const CliRun run = RunCli({"read", "--port", "COM4", "--json", "--trace", trace});
    EXPECT_EQ(run.ExitCode, 1);
    // The message, then the last command sent and what came back.
    const QStringList lines = run.Err.split('\n');
    ASSERT_EQ(lines.size(), 2) << run.Err.toStdString();
    EXPECT_EQ(lines[0], "Timeout");
    EXPECT_TRUE(lines[1].startsWith("Last command sent: \"")) << lines[1].toStdString();
    EXPECT_TRUE(run.Out.isEmpty());

    // The trace holds every command sent, one event a line.
    const QString text = QString::fromLatin1(ReadAll(trace));
    QStringList sent;
    for (const QString& line : text.split('\n'))
        if (line.contains(" -> ")) sent << line.section(" -> ", 1);
    EXPECT_EQ(sent.mid(0, 3), (QStringList{"\\r", "\\r", "\\r"}));
    for (const char* command : {"ip\\r", "mask\\r", "gateway\\r", "use eeprom\\r", "block 0\\r"})
        EXPECT_TRUE(sent.contains(command)) << command;
}

}  // namespace
}  // namespace kv::test
