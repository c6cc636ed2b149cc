// kv9052r-cli apply, eds and factory-reset against the virtual gateway program over a real
// pseudo-terminal: the messages and the EDS files written.

#include <gtest/gtest.h>

#include "CliProcess.h"
#include "support/TestFiles.h"

namespace kv::test {
namespace {

// What apply stored, eds and diff of the same file find on the gateway.
TEST(CliSave, ApplyEdsAndFactoryResetWithTheirMessages) {
    SimulatorProcess simulator;
    simulator.Start({"--com", "9", "--demo"});
    const QString folder = simulator.Folder.path();
    ASSERT_TRUE(WriteAll(folder + "/bad.json", R"({"DeviceNetParams": {"NodeId": 64}})"));
    ASSERT_TRUE(WriteAll(folder + "/good.json", R"({
        "DeviceNetParams": {"NodeId": 12},
        "TcpClasses": [{}, {"ConnValid": 1, "Commands": [{"NetId": 1, "FunctionCode": 4,
                        "MemAddress": 1000, "StartAddress": 0, "Length": 8}]}]})"));
    ExpectRuns(
        {{{"apply", "--port", "COM9", "%1/bad.json", "--eds-dir", "%1"},
          1,
          "",
          "DeviceNetParams.NodeId: Node ID is not supported!(0~63)\n"
          "Nothing was written to the gateway."},
         {{"apply", "--port", "9", "%1/good.json", "--eds-dir", "%1", "--description", "Hall 2"},
          0,
          "The gateway's configuration was kept in %1/kv9052r/backups/..._node5_COM9.json\n"
          "Produce EDS File OK: %1/KV-9052R_ 12.eds\nWritten and verified.",
          ""},
         {{"eds", "--port", "COM9", "--out-dir", "%1/again"}, 0, "%1/again/KV-9052R_ 12.eds", ""},
         {{"diff", "%1/good.json", "COM9"}, 0, "...No differences.", ""},
         {{"factory-reset", "--port", "COM9"}, 2, "", "...add --yes to go on."},
         {{"factory-reset", "--port", "COM9", "--yes"},
          0,
          "The gateway's configuration was kept in ...\nFactory settings restored.",
          ""},
         {{"read", "--port", "COM9", "--json"},
          0,
          "{...\"ConfigMarker\": 0,...\"NodeId\": 1\n...\"Ip\": \"192.168.255.1\"...",
          ""}},
        folder);
    for (const char* eds : {"/KV-9052R_ 12.eds", "/again/KV-9052R_ 12.eds"})
        EXPECT_TRUE(ReadAll(folder + eds).contains("\"20 68 24 01 30 0C\"")) << eds;
}

}  // namespace
}  // namespace kv::test
