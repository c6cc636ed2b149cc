// kv9052r-cli read and diff against the virtual gateway program over a real pseudo-terminal:
// files, backups and a live gateway compared.

#include <gtest/gtest.h>

#include "CliProcess.h"
#include "platform/RoutedSerialPort.h"
#include "support/TestFiles.h"

namespace kv::test {
namespace {

TEST(CliRead, PrintsTheGatewayAndSaysWhatWentWrongLikeTheWindowDoes) {
    // Made before either starts, the two publish into the same port folder.
    SimulatorProcess simulator;
    SimulatorProcess otherModel;
    simulator.Start({"--com", "5", "--demo"});
    otherModel.Start({"--com", "6", "--model", "MX-2100"});
    ExpectRuns({{{"read", "--port", "COM5", "--json"},
                 0,
                 "{\n    \"Format\": \"kv9052r-configuration/1\",\n    \"DeviceNetParams\": {\n"
                 "        \"NodeId\": 5,\n        \"BaudIndex\": 2\n...\"Year\": 2009...\"Ip\": "
                 "\"192.168.255.1\"...\"Length\": 10\n...}",
                 ""},
                {{"read", "--port", "5"}, 0, "...1.03-2009/07/15...", ""},
                {{"read", "--port", "COM6"}, 1, "", "This modules is not 5308!\n..."},
                {{"read"},
                 2,
                 "",
                 "No port given: use --port COM3, --port 3, --port /dev/ttyUSB0 or --port "
                 "rfc2217://HOST:PORT"}},
               {});
    // A device path names the port too; one device has one lock, whichever name opened it.
    // The holder is named, from the port's lock file or from its flock.
    RoutedSerialPort holder;
    holder.SelectPort(5);
    ASSERT_TRUE(holder.Open().ok());
    const QString heldByUs =
        QStringLiteral("\nHeld by e2e_tests (process %1).").arg(QCoreApplication::applicationPid());
    ExpectRuns({{{"read", "--port", "COM5"}, 1, "", "COM 5 has been occupied" + heldByUs},
                {{"read", "--port", "%1"}, 1, "", "%1 has been occupied" + heldByUs}},
               simulator.Device);
    holder.Close();
#ifndef KV_PORTABLE_SERIAL  // a port on QSerialPort alone takes no flock, as Windows has none
    // A terminal program such as picocom holds the port with flock only.
    QProcess flockHolder;
    flockHolder.start("flock", {simulator.Device, "-c", "echo held; exec sleep 60"});
    ASSERT_TRUE(flockHolder.waitForReadyRead(10000));
    ExpectRuns({{{"read", "--port", "COM5"},
                 1,
                 "",
                 QStringLiteral("COM 5 has been occupied\nHeld by flock (process %1).")
                     .arg(flockHolder.processId())}},
               {});
    flockHolder.kill();
    flockHolder.waitForFinished();
#endif
}

TEST(CliDiff, ComparesReadOutsBackupsAndTheGatewayOrSaysWhyItCannot) {
    SimulatorProcess simulator;
    simulator.Start({"--com", "8", "--demo"});
    const QString folder = simulator.Folder.path();
    const CliRun read = RunCli({"read", "--port", "COM8", "--json"});
    ASSERT_EQ(read.ExitCode, 0) << read.Err.toStdString();
    ASSERT_TRUE(WriteAll(folder + "/read.json", read.Out.toUtf8()));
    QString edited = read.Out;
    edited.replace(QStringLiteral("\"Length\": 10\n"), QStringLiteral("\"Length\": 12\n"));
    ASSERT_TRUE(WriteAll(folder + "/edited.json", edited.toUtf8()));
    ASSERT_TRUE(WriteAll(folder + "/n.txt", "shopping list\n"));
    ASSERT_TRUE(WriteAll(folder + "/b.json", R"({"DeviceNetParams": {"NodeId": 3,}})"));
    ASSERT_TRUE(WriteAll(folder + "/w.json", R"({"SerialClasses": [{"Commands": [{}]}]})"));

    ExpectRuns(
        {{{"diff", "%1/read.json", "COM8"},
          0,
          "Compared %1/read.json (a configuration file) with COM8 (the gateway, read now).\n"
          "No differences.",
          ""},
         {{"backup", "--port", "COM8", "%1/gw.ini"}, 0, "Import to ini file finished.\n...", ""},
         {{"diff", "%1/gw.ini", "%1/edited.json"},
          3,
          "Compared %1/gw.ini (an EEPROM backup) with %1/edited.json (a configuration file).\n"
          "Left out, %1/gw.ini does not hold them: EthernetParams (an EEPROM backup holds "
          "no Ethernet settings)\nSerialClasses[0].Commands[0].Length: 10 -> 12",
          ""},
         {{"diff", "--raw", "%1/gw.ini", "%1/gw.ini"}, 0, "...byte by byte.\nNo differences.", ""},
         {{"diff", "--raw", "%1/gw.ini", "%1/read.json"}, 2, "", "--raw compares two EEPROM..."},
         {{"diff", "COM15", "%1/no.json"}, 2, "", "Cannot read %1/no.json: there is no such file"},
         {{"diff", "%1/n.txt", "COM8"}, 2, "", "%1/n.txt is neither a configuration file..."},
         {{"diff", "%1/b.json", "COM8"}, 2, "", "%1/b.json: line 1, column 34: object is..."},
         {{"diff", "%1/w.json", "COM8"}, 2, "", "%1/w.json: ...NetId: missing\n..."},
         {{"diff", "%1/read.json"}, 2, "", "..."}},
        folder);
}

}  // namespace
}  // namespace kv::test
