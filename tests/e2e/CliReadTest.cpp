// kv9052r-cli read against the virtual gateway program over a real pseudo-terminal.

#include <gtest/gtest.h>

#include "CliProcess.h"
#include "SimulatorProcess.h"
#include "platform/QtSerialPort.h"

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
    EXPECT_EQ(run.Err, "This modules is not 5308!");

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
    const CliRun run = RunCli({"read", "--port", "COM4", "--json"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "Timeout");
    EXPECT_TRUE(run.Out.isEmpty());
}

}  // namespace
}  // namespace kv::test
