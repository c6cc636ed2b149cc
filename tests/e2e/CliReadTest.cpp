// kv9052r-cli read against the virtual gateway program over a real pseudo-terminal.

#include <gtest/gtest.h>

#include "CliProcess.h"
#include "platform/QtSerialPort.h"

namespace kv::test {
namespace {

TEST(CliRead, PrintsTheGatewayAndSaysWhatWentWrongLikeTheWindowDoes) {
    // Made before either starts, the two publish into the same port folder.
    SimulatorProcess simulator;
    SimulatorProcess otherModel;
    simulator.Start({"--com", "5", "--demo"});
    otherModel.Start({"--com", "6", "--model", "MX-2100"});
    ExpectRuns(
        {{{"read", "--port", "COM5", "--json"},
          0,
          "{...\"BaudIndex\": 2,\n        \"NodeId\": 5\n...\"Ip\": \"192.168.255.1\""
          "...\"Year\": 2009...\"Length\": 10,...}",
          ""},
         {{"read", "--port", "5"}, 0, "...1.03-2009/07/15...", ""},
         {{"read", "--port", "COM6"}, 1, "", "This modules is not 5308!\n..."},
         {{"read", "--port", "COM16"}, 1, "", "Can't open COM 16!"},
         {{"read", "--port", "COM17"}, 1, "", "There is no COM17: ports are COM 1 to COM 16"},
         {{"read"}, 2, "", "No port given: use --port COM3, --port 3 or --port /dev/ttyUSB0"}},
        {});
    // A device path names the port too; one device has one lock, whichever name opened it.
    QtSerialPort holder;
    holder.SelectPort(5);
    ASSERT_TRUE(holder.Open().ok());
    ExpectRuns({{{"read", "--port", "COM5"}, 1, "", "COM 5 has been occupied"},
                {{"read", "--port", "%1"}, 1, "", "%1 has been occupied"}},
               simulator.Device);
}

}  // namespace
}  // namespace kv::test
