// kv9052r-cli read against the virtual gateway program over a real pseudo-terminal.

#include <gtest/gtest.h>

#include "CliProcess.h"
#include "platform/QtSerialPort.h"
#include "support/TestFiles.h"

namespace kv::test {
namespace {

TEST(CliRead, PrintsTheGatewayAndSaysWhatWentWrongLikeTheWindowDoes) {
    SimulatorProcess simulator;
    simulator.Start({"--com", "5", "--demo"});
    ExpectRuns(
        {{{"read", "--port", "COM5", "--json"},
          0,
          "{...\"BaudIndex\": 2,\n        \"NodeId\": 5\n...\"Ip\": \"192.168.255.1\""
          "...\"Year\": 2009...\"Length\": 10,...}",
          ""},
         {{"read", "--port", "5"}, 0, "...1.03-2009/07/15...", ""},
         {{"read", "--port", "COM16"}, 1, "", "Can't open COM 16!"},
         {{"read", "--port", "COM17"}, 1, "", "There is no COM17: ports are COM 1 to COM 16"},
         {{"read"}, 2, "", "No port given: use --port COM3, --port 3 or --port /dev/ttyUSB0"}},
        simulator.Folder.path());
    // The same gateway by its device path.
    EXPECT_EQ(RunCli({"read", "--port", simulator.Device}).Out,
              RunCli({"read", "--port", "5"}).Out);

    QtSerialPort holder;
    holder.SelectPort(5);
    ASSERT_TRUE(holder.Open().ok());
    ExpectRuns({{{"read", "--port", "COM5"}, 1, "", "COM 5 has been occupied"}}, {});
}

TEST(CliRead, AGatewayOfAnotherModelIsRefused) {
    SimulatorProcess simulator;
    simulator.Start({"--com", "6", "--model", "MX-2100"});
    ExpectRuns({{{"read", "--port", "COM6"}, 1, "", "This modules is not 5308!\n..."}}, {});
}

TEST(CliRead, AGatewayThatFallsSilentEndsInTimeout) {
    SimulatorProcess simulator;
    simulator.Start({"--com", "4", "--demo", "--stop-after", "40"});
    // The message, then the last command sent and what came back.
    ExpectRuns({{{"read", "--port", "COM4", "--json", "--trace", "%1/trace.txt"},
                 1,
                 "",
                 "Timeout\nLast command sent: \"..."}},
               simulator.Folder.path());

    // The trace holds every command sent, one event a line.
    QStringList sent;
    for (const QString& line :
         QString::fromLatin1(ReadAll(simulator.Folder.filePath("trace.txt"))).split('\n'))
        if (line.contains(" -> ")) sent << line.section(" -> ", 1);
    EXPECT_EQ(sent.mid(0, 3), (QStringList{"\\r", "\\r", "\\r"}));
    for (const char* command : {"ip\\r", "mask\\r", "gateway\\r", "use eeprom\\r", "block 0\\r"})
        EXPECT_TRUE(sent.contains(command)) << command;
}

}  // namespace
}  // namespace kv::test
