// Configuration files: the JSON a read-out is written as and a file is merged from, the
// text the CLI prints, what is refused before any merge, the command table of a class as
// CSV, and the differences between two configurations or two backups. The documented JSON
// Schema keeps in step with what `read --json` writes: every key the writer puts out is
// described there with a type that admits its value, and every key the schema describes is
// written.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include "config/ClassNames.h"
#include "config/CommandTableCsv.h"
#include "config/ConfigDiff.h"
#include "config/ConfigFile.h"
#include "config/ConfigJson.h"
#include "config/EepromCodec.h"
#include "config/Inventory.h"
#include "sim/DemoImages.h"
#include "support/TestFiles.h"

namespace kv {
namespace {

QJsonObject Parse(const char* text) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
    return document.object();
}

QByteArray Compact(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// GatewayConfig has no equality of its own; compare what a file may change.
void ExpectSameStoredFields(const GatewayConfig& actual, const GatewayConfig& expected) {
    EXPECT_EQ(actual.DeviceNetParams, expected.DeviceNetParams);
    EXPECT_EQ(actual.ComBaudIndex, expected.ComBaudIndex);
    EXPECT_EQ(actual.ConnectionPaths, expected.ConnectionPaths);
    EXPECT_EQ(actual.EthernetParams, expected.EthernetParams);
    EXPECT_EQ(actual.SerialClasses, expected.SerialClasses);
    EXPECT_EQ(actual.TcpClasses, expected.TcpClasses);
}

const QByteArray OneCommand =
    R"({"NetId": 1, "FunctionCode": 3, "MemAddress": 0, "StartAddress": 0, "Length": 1})";

TEST(ConfigJson, WritesTheStoredCommands) {
    GatewayConfig config = sim::DemoConfig();
    config.SerialClasses[0].CmdCount = 11;  // as a gateway may hold it: no more than the slots
    config.TcpClasses[1].ConnTimeout = 4294967295.0;
    QJsonObject json = ConfigToJson(config);
    const QJsonArray serial = json.take("SerialClasses").toArray();
    const QJsonArray tcp = json.take("TcpClasses").toArray();
    EXPECT_EQ(Compact(json),
              R"({"ComBaudIndex":[4,3],"ConfigMarker":436,"ConnectionPaths":{"PollConsume":)"
              R"([103,2,13],"PollProduce":[101,1,13]},"DeviceNetParams":{"BaudIndex":2,)"
              R"("NodeId":5},"EthernetParams":{"Gateway":"192.168.0.1","Ip":"192.168.255.1",)"
              R"("Mask":"255.255.255.0"},"FirmwareInfo":{"Day":15,"Major":1,"Minor":3,)"
              R"("Month":7,"Year":2009},"Format":"kv9052r-configuration/1"})");
    EXPECT_EQ(Compact(serial[1].toObject()),
              R"({"Baud":9600,"CmdCount":2,"CmdTimeout":2000,"Commands":[{"FunctionCode":4,)"
              R"("Length":2,"MemAddress":300,"NetId":7,"StartAddress":10,"Valid":1},)"
              R"({"FunctionCode":6,"Length":1,"MemAddress":310,"NetId":7,"StartAddress":20,)"
              R"("Valid":1}],"ConnMode":2,"DataBits":8,"Parity":0,"PortChecksum":174,)"
              R"("StopBits":1})");
    EXPECT_EQ(Compact(tcp[1].toObject()),
              R"({"CmdCount":0,"CmdTimeout":0,"Commands":[],"ConnTimeout":4294967295,)"
              R"("ConnValid":0,"RetryConnTimeout":0,"ServerIp":[0,0,0,0]})");
    EXPECT_EQ(serial[0].toObject()["Commands"].toArray().size(), 10);
    // Reading back what was written: ConfigFileWindowsTest.

    // One order, "Format" first, though QJsonObject sorts keys (each object's: agreement.py).
    EXPECT_TRUE(ConfigFileText(config).startsWith(
        "{\n    \"Format\": \"kv9052r-configuration/1\",\n    \"DeviceNetParams\": {\n"
        "        \"NodeId\": 5,\n        \"BaudIndex\": 2\n    },\n    \"FirmwareInfo\": {\n"
        "        \"Major\": 1,\n"));
    EXPECT_TRUE(ConfigFileText(config).contains("\n    \"ComBaudIndex\": [4, 3],\n"));
}

// Either form of `read` reads back to the same configuration.
TEST(ConfigJson, WritesListTextsAndLeavesOutDerivedFieldsAsAsked) {
    const struct {
        ConfigFileForm Form;
        QList<QByteArray> Holds;
        QList<QByteArray> HoldsNot;
    } rows[] = {
        {{.Texts = true},
         {R"("BaudIndex": "500 KBPS")", R"("Parity": "EVEN")", R"("ConnMode": "Modbus RTU")",
          R"("ConnValid": "YES")", R"("FunctionCode": "FC03 Read Holding Registers")"},
         {R"("Parity": 1)"}},
        {{.Derived = false},
         {R"("Parity": 1)"},
         {"FirmwareInfo", "ConfigMarker", "PortChecksum", "ComBaudIndex"}},
        {{.Texts = true, .Derived = false}, {R"("Parity": "EVEN")"}, {"PortChecksum"}},
    };
    for (const auto& row : rows) {
        const QByteArray text = ConfigFileText(sim::DemoConfig(), row.Form);
        for (const QByteArray& part : row.Holds) EXPECT_TRUE(text.contains(part)) << part.data();
        for (const QByteArray& part : row.HoldsNot)
            EXPECT_FALSE(text.contains(part)) << part.data();
        GatewayConfig read;
        QStringList errors;
        ASSERT_TRUE(MergeConfigJson(Parse(text.constData()), read, errors));
        ExpectSameStoredFields(read, sim::DemoConfig());
    }
}

// JSON and CSV read a function code alike; 0 stands for refused.
TEST(ConfigJson, ReadsFunctionCodesAsCommandTablesDo) {
    const std::pair<QByteArray, int> rows[] = {
        {"16", 16},           {R"("3")", 3},
        {R"("FC03")", 3},     {R"(" fc 3 ")", 3},
        {R"("0x0F")", 15},    {R"("Fc16")", 16},
        {R"("fc 0x10")", 16}, {R"("fc04 read input registers")", 4},
        {R"("fcfc3")", 0},    {R"("0x")", 0},
        {R"("FC3x")", 0},     {R"("-3")", 0},
    };
    for (const auto& [given, code] : rows) {
        GatewayConfig config;
        QStringList errors;
        const QByteArray command =
            R"({"SerialClasses": [{"Commands": [{"NetId": 1, "FunctionCode": )" + given +
            R"(, "MemAddress": 0, "StartAddress": 0, "Length": 1}]}]})";
        MergeConfigJson(Parse(command.constData()), config, errors);
        const CommandTableRead table =
            ReadCommandTableCsv("Instance,NetId,FunctionCode,MemAddress,StartAddress,Length\n1,1," +
                                    QByteArray(given).replace('"', "") + ",0,0,1\n",
                                10);
        EXPECT_EQ(config.SerialClasses[0].Commands[0].FunctionCode, code) << given.data();
        EXPECT_EQ(table.ok() ? table.Commands.at(0).FunctionCode : 0, code) << given.data();
    }
}

// A list field (BaudIndex, Parity, ConnMode, ConnValid, FunctionCode) may be given by the
// text of its list entry. The controller's own data is shown but never taken from a file.
TEST(ConfigJson, MergesOnlyTheKeysGivenAndDerivesWhatTheGatewayDerives) {
    GatewayConfig config = sim::MaximalConfig();
    config.SerialClasses[0].PortChecksum = 1;  // no port field of COM1 given: kept
    config.ComBaudIndex = {2, 2};              // no Baud of COM1 given: kept
    GatewayConfig expected = config;
    const char* file = R"({"FirmwareInfo": {"Major": 9}, "ConfigMarker": 0, "ComBaudIndex": [0, 0],
        "DeviceNetParams": {"BaudIndex": " 250 kbps "},
        "SerialClasses": [{"CmdTimeout": 500, "ConnMode": "Modbus ASCII", "Commands": []},
                          {"Baud": 9600, "Parity": "even", "PortChecksum": 1}],
        "TcpClasses": [{"ConnValid": "NO", "ServerIp": "10.0.0.5"}, {"Commands": [{"NetId": 5, "MemAddress": 10,
            "FunctionCode": "FC15 Force Multiple Coils", "StartAddress": 400, "Length": 2}]}]})";
    QStringList errors;
    ASSERT_TRUE(MergeConfigJson(Parse(file), config, errors)) << errors.join('\n').toStdString();
    expected.DeviceNetParams.BaudIndex = 1;
    expected.SerialClasses[0] = {2, 500, 0, 115200, 8, 0, 1, 1};  // ASCII, no commands
    expected.SerialClasses[1].Baud = 9600;
    expected.SerialClasses[1].Parity = 1;
    expected.SerialClasses[1].PortChecksum = 175;
    expected.ComBaudIndex = {2, 3};
    expected.TcpClasses[0].ConnValid = 0;
    expected.TcpClasses[0].ServerIp = {10, 0, 0, 5};
    expected.TcpClasses[1].CmdCount = 1;
    expected.TcpClasses[1].Commands = {ModbusCommand{1, 5, 15, 10, 400, 2}};
    ExpectSameStoredFields(config, expected);
    EXPECT_EQ(config.FirmwareInfo, expected.FirmwareInfo);
    EXPECT_EQ(config.ConfigMarker, expected.ConfigMarker);
}

TEST(ConfigJson, ReportsEveryFaultWithItsKeyPathAndAppliesNothing) {
    const QByteArray longLength = R"({"SerialClasses": [{"Commands": [)" + OneCommand + ',' +
                                  OneCommand + ',' +
                                  QByteArray(OneCommand).replace(" 1}", " 70000}") + "]}]}";
    const std::vector<std::pair<QByteArray, QStringList>> cases = {
        {longLength, {"SerialClasses[0].Commands[2].Length: must lie in 0..65535, not 70000"}},
        {R"({"DeviceNetParams": {"NodeId": "5"}})", {"DeviceNetParams.NodeId: must be a number"}},
        {R"({"SerialClasses": [{"CmdTimeout": 70000}]})",
         {"SerialClasses[0].CmdTimeout: must lie in 0..65535, not 70000"}},
        // Numbers are quoted as the file writes them; a range is the field's own.
        {R"({"TcpClasses": [{}, {}, {"CmdTimeout": 2.50}]})",
         {"TcpClasses[2].CmdTimeout: must be a whole number, not 2.50"}},
        {R"({"SerialClasses": [{"CmdTimeout": 1E5}]})",
         {"SerialClasses[0].CmdTimeout: must lie in 0..65535, not 1E5"}},
        {R"({"DeviceNetParams": {"BaudIndex": 100000, "NodeId": 256}})",
         {"DeviceNetParams.NodeId: must lie in 0..63, not 256",
          "DeviceNetParams.BaudIndex: must lie in 0..2, not 100000"}},
        {R"({"$schema": 5, "Fingerprint": null, "Comment": []})",
         {"Fingerprint: must be a text", "$schema: must be a text", "Comment: must be a text"}},
        {R"({"Colour": 1})", {"Colour: unknown key"}},
        {R"({"": 1, "DeviceNetParams": {"": 1}})",
         {R"("": unknown key)", R"(DeviceNetParams."": unknown key)"}},
        {R"({"Backup": 1})", {"Backup: must be true or false"}},
        {R"({"TcpClasses": [{"Commands": [1, 2, 3, 4, 5, 6]}]})",
         {"TcpClasses[0].Commands: lists 6 commands; the class has 5 slots"}},
        {R"({"SerialClasses": [{"CmdCount": 3, "Commands": [)" + OneCommand + "]}]}",
         {"SerialClasses[0].CmdCount: is 3 but Commands lists 1"}},
        {R"({"SerialClasses": [{"Baud": 12345}]})",
         {"SerialClasses[0].Baud: must be one of 1200, 2400, 4800, 9600, 19200, 38400, 57600, "
          "115200"}},
        {R"({"SerialClasses": [{}, {}, {}]})", {"SerialClasses: lists 3 classes; there are 2"}},
        {R"({"TcpClasses": [{"ServerIp": "10.0.0.256"}]})",
         {R"(TcpClasses[0].ServerIp: must be an address such as 192.168.0.10 (four numbers )"
          R"(0..255), not "10.0.0.256")"}},
        {R"({"ConnectionPaths": {"PollProduce": [1, 2]}})",
         {"ConnectionPaths.PollProduce: must list 3 numbers, not 2"}},
        {R"({"TcpClasses": [{"Commands": [7]}]})",
         {"TcpClasses[0].Commands[0]: must be an object"}},
        // A list name that is not in the list: ConfigFileWindowsTest.
        {R"({"Format": "kv9052r-configuration/2"})",
         {R"(Format: must be "kv9052r-configuration/1")"}},
        // Every fault is collected; the good change beside them is not applied either.
        {R"({"DeviceNetParams": {"NodeId": 5},
            "SerialClasses": [{"Commands": [{"NetId": 1, "Valid": 1, "Speed": 9}]}]})",
         {"SerialClasses[0].Commands[0].Speed: unknown key",
          "SerialClasses[0].Commands[0].FunctionCode: missing",
          "SerialClasses[0].Commands[0].MemAddress: missing",
          "SerialClasses[0].Commands[0].StartAddress: missing",
          "SerialClasses[0].Commands[0].Length: missing"}},
    };
    for (const auto& [file, expected] : cases) {
        GatewayConfig config = sim::MaximalConfig();
        QStringList errors{"earlier"};
        const ConfigFileRead read = ParseConfigText(file, "c.json");
        EXPECT_FALSE(MergeConfigJson(read.Json, config, errors, read.Numbers)) << file.constData();
        EXPECT_EQ(errors, QStringList{"earlier"} + expected);
        ExpectSameStoredFields(config, sim::MaximalConfig());
    }
}

TEST(ConfigText, ShowsSettingsAndClassesOnlyUnderTheMarker) {
    GatewayConfig config = sim::DemoConfig();
    QString text = FormatConfigText(config);
    for (const char* line :
         {"Firmware: 1.03-2009/07/15\n", "DeviceNet: node ID 5, 500 kbit/s\n",
          "COM1: 19200 bit/s, data bits 8, parity EVEN, stop bits 1, check byte 85\n",
          "Poll produced path: class 0x65, instance 1, attribute 13\n",
          "Class 0x69 (Modbus TCP connection 3): used YES, server 192.168.0.30, connection "
          "time-out 3000, retry time-out 10000, command time-out 1000, commands 1\n",
          "    Instance 2: valid 1, Modbus ID 7, function 6, memory 310, start 20, length 1\n"})
        EXPECT_TRUE(text.contains(QLatin1String(line))) << line;
    config.ConfigMarker = 0;
    config.SerialClasses[0].Parity = 7;
    text = FormatConfigText(config);
    EXPECT_TRUE(text.contains("parity unknown (7)"));
    EXPECT_TRUE(text.contains("No Modbus configuration stored (marker 0)\n"));
    EXPECT_FALSE(text.contains("Class 0x65"));
}

TEST(ConfigFile, RefusesWhatIsNoConfigurationFile) {
    QTemporaryDir folder;
    const QString file = folder.filePath("c.json");
    const std::vector<std::pair<QByteArray, QString>> cases = {
        {"{\n  \"DeviceNetParams\": x\n}", file + ": line 2, column 22: illegal number"},
        {"{\"\xC3\xA9\": [1 2 ]}", file + ": line 1, column 10: missing value separator"},
        {"{\"\xC3\xA9\": 1,}", file + ": line 1, column 9: object is missing after a comma"},
        {"[1, 2]", file + ": holds no JSON object"},
        {"{\"A\": [{\"\xC3\xA9\": 1,\n  \"\\u00e9\": 2}]}",
         file + ": line 2, column 3: A[0].\xC3\xA9 is given twice, first at line 1, column 9"},
        {" \n", file + ": is empty"},
        // The reader's refusals themselves: UserFilesTest.
        {QByteArray(1024 * 1024 + 1, ' '), file + ": is larger than 1048576 bytes"},
    };
    for (const auto& [bytes, expected] : cases) {
        ASSERT_TRUE(test::WriteAll(file, bytes));
        EXPECT_EQ(ReadConfigFile(file).Error, expected);
    }
}

TEST(CommandTableCsv, FullClassSurvivesTheRoundTrip) {
    const QByteArray table =
        "Instance,NetId,FunctionCode,MemAddress,StartAddress,Length,Reference\n"
        "1,1,1,0,0,16,00001\n"
        "2,2,2,16,9999,8,110000\n"
        "3,3,3,100,0,10,40001\n"
        "4,4,4,110,65535,2,365536\n"
        "5,5,5,120,7,1,00008\n"
        "6,6,6,130,8,1,40009\n"
        "7,7,15,140,100,32,00101\n"
        "8,8,16,200,200,120,40201\n"
        "9,247,3,400,0,1,40001\n"
        "10,9,2,2000,1,47,10002\n";
    const CommandTableRead read = ReadCommandTableCsv(table, 10);
    ASSERT_TRUE(read.ok()) << read.Errors.join('\n').toStdString();
    EXPECT_EQ(CommandTableCsv(read.Commands), table);
}

TEST(CommandTableCsv, ReportsEveryBadCellWithRowAndColumn) {
    const QByteArray table = QByteArrayLiteral(
        "instance,NetId,FunctionCode,MemAddress,StartAddress,Length\n"
        "1,1,3,0,0,10\n"
        "2,0,3,0,x,10\n"
        "3,1,FC03 Read Holding Registers,2040,0,10\n"
        "4,2\0005,3,100,0,1\00020\n");
    const CommandTableRead read = ReadCommandTableCsv(table, 10);
    EXPECT_EQ(read.Errors,
              (QStringList{R"(row 3, column 5 (StartAddress): must be a whole number, not "x")",
                           "row 3, column 2 (NetId): ModBus Device Address Error. (1-247)",
                           "row 4, columns 4/6 (MemAddress/Length): Communication Length Greater "
                           "Than Internal Memory",
                           "row 5, column 2 (NetId): holds a control character (0x00)",
                           "row 5, column 6 (Length): holds a control character (0x00)"}));
    EXPECT_TRUE(read.Commands.empty());
    EXPECT_EQ(ReadCommandTableCsv("Length," + table, 10).Errors,
              QStringList{"row 1: the header names column Length twice"});
}

// As spreadsheets save tables: ';' or tabs, rows sorted by another column, codes as "fc16".
TEST(CommandTableCsv, ReadsSpreadsheetFormsAndSaysWhatIsNoTable) {
    const struct {
        QByteArray Text;
        QList<int> FunctionCodes;
        QStringList Errors;
    } rows[] = {
        {"Instance;NetId;FunctionCode;MemAddress;StartAddress;Length\r\n"
         "2;1;fc16;100;0;4\r\n1;1;FC 3;0;0;8\r\n",
         {3, 16},
         {}},
        {"Length\tInstance\tNetId\tFunctionCode\tMemAddress\tStartAddress\n8\t1\t1\t4\t0\t0\n",
         {4},
         {}},
        {"Instance,NetId,FunctionCode,MemAddress,StartAddress,Length\r1,1,fcfc3,0,0,8\r",
         {},
         {R"(row 2, column 3 (FunctionCode): must be a whole number, not "fcfc3")"}},
        {"Instance,NetId,FunctionCode,MemAddress,StartAddress,Length\n1,1,3,0,0,8\n3,1,3,8,0,8\n",
         {},
         {"row 3, column 1 (Instance): must be 2: instances are numbered 1, 2, 3... without "
          "gaps or repeats"}},
        {"",
         {},
         {"row 1: the file is empty; a table starts with the header "
          "Instance,NetId,FunctionCode,MemAddress,StartAddress,Length,Reference"}},
        // As RFC 4180 quotes: a separator, a line break and "" inside quotes stay in the field.
        {"\"Instance\",\"NetId\",\"FunctionCode\",MemAddress,StartAddress,Length,Reference\r\n"
         "1,1,\"3\",0,0,8,\"4000\"\"1, first\r\nline\"\r\n2,1,16,8,0,4,x\r\n",
         {3, 16},
         {}},
        // The empty rows spreadsheets write are skipped; rows keep their numbers in the file.
        {"Instance;NetId;FunctionCode;MemAddress;StartAddress;Length\n;;;;;\n1;1;3;0;0;8\n"
         ";;;;;\n2;0;3;8;0;8\n;;;;;\n",
         {},
         {"row 5, column 2 (NetId): ModBus Device Address Error. (1-247)"}},
        {"Instance,NetId,FunctionCode,MemAddress,StartAddress,Length\n1,1,3,0,0,8\n"
         "2,\"1,3,8,0,8\n",
         {},
         {"row 3: its quote is not closed"}},
        {"Name,Value\nx,1\n",
         {},
         {"row 1: the header names no column Instance; a table starts with the header "
          "Instance,NetId,FunctionCode,MemAddress,StartAddress,Length,Reference"}},
    };
    for (const auto& row : rows) {
        const CommandTableRead read = ReadCommandTableCsv(row.Text, 10);
        QList<int> codes;
        for (const ModbusCommand& command : read.Commands) codes.append(command.FunctionCode);
        EXPECT_EQ(codes, row.FunctionCodes);
        EXPECT_EQ(read.Errors, row.Errors);
    }
}

TEST(CommandTableCsv, ClassNames) {
    EXPECT_EQ(ClassIndexOfName("com2"), 1);
    EXPECT_EQ(ClassIndexOfName("Server4"), 5);
    EXPECT_EQ(ClassIndexOfName("0x67"), 2);
    EXPECT_EQ(ClassIndexOfName("0x6B"), std::nullopt);
}

// Each row's cells replace the template's; ports and addresses that two rows share, and
// columns that are no configuration keys, are refused.
TEST(Inventory, GivesEachPortItsValuesAndRefusesClashes) {
    const auto key = [](const QString& port) { return port == "3" ? QString("COM3") : port; };
    const struct {
        QByteArray Text;
        QStringList Errors;
    } rows[] = {
        {"NodeId\n5\n", {"row 1: the header names no column Port"}},
        {"Port,Node\nCOM3,5\n",
         {"row 1: there is no column Node; the columns are Port, NodeId, BaudIndex, Ip, Mask, "
          "Gateway"}},
        {"Port,Ip\nCOM3,10.0.0.1\n3,10.0.0.2\nCOM4,10.0.0.1\n,10.0.0.3\n",
         {"row 3 (Port 3): Port 3 is also row 2's (COM3)",
          "row 4 (Port COM4): Ip 10.0.0.1 is also row 2's", "row 5: the Port cell is empty"}},
        // Compared as the gateways will hold them.
        {"Port,NodeId,Ip\nCOM3,5,192.168.1.10\nCOM4,05,192.168.001.010\nCOM5,+5,\n",
         {"row 3 (Port COM4): NodeId 05 is also row 2's (5)",
          "row 3 (Port COM4): Ip 192.168.001.010 is also row 2's (192.168.1.10)",
          "row 4 (Port COM5): NodeId +5 is also row 2's (5)"}},
        {"Port,NodeId\n", {"the table names no port"}},
    };
    for (const auto& row : rows) EXPECT_EQ(ReadInventory(row.Text, key).Errors, row.Errors);

    const InventoryRead read =
        ReadInventory("port;baudindex;NodeId;Ip\nCOM3;500K;;010.0.0.01\n", key);
    ASSERT_TRUE(read.ok());
    const QJsonObject merged = WithInventoryRow(
        QJsonDocument::fromJson(R"({"DeviceNetParams": {"NodeId": 7, "BaudIndex": 0}})").object(),
        read.Rows.first());
    EXPECT_EQ(
        QJsonDocument(merged).toJson(QJsonDocument::Compact),
        R"({"DeviceNetParams":{"BaudIndex":"500K","NodeId":7},"EthernetParams":{"Ip":"10.0.0.1"}})");

    // The template's node ID and IP address reach every row that leaves them empty or gives
    // the same value.
    const QJsonObject fleet =
        QJsonDocument::fromJson(
            R"({"DeviceNetParams": {"NodeId": 9}, "EthernetParams": {"Ip": "10.0.0.09"}})")
            .object();
    const struct {
        QByteArray Text;
        QStringList Shared;
    } sharing[] = {
        {"Port,Ip\nCOM3,10.0.0.1\nCOM4,10.0.0.2\nCOM5,10.0.0.3\n", {"DeviceNetParams.NodeId 3"}},
        {"Port,NodeId,Ip\nCOM3,09,10.0.0.9\nCOM4,8,\n", {"EthernetParams.Ip 2"}},
        {"Port,NodeId,Ip\nCOM3,1,10.0.0.1\nCOM4,2,10.0.0.2\n", {}},
    };
    for (const auto& row : sharing) {
        QStringList shared;
        for (const SharedAddress& address :
             SharedAddresses(fleet, ReadInventory(row.Text, key).Rows))
            shared.append(address.Key + u' ' + QString::number(address.Gateways));
        EXPECT_EQ(shared, row.Shared) << row.Text.constData();
    }
}

// The demo gateway as `read --json` prints it.
GatewayConfig ReadDemo() {
    GatewayConfig config;
    eeprom::DecodeImage(sim::DemoImage(), config);
    config.EthernetParams = {"192.168.255.1", "255.255.255.0", "192.168.0.1"};
    return config;
}

// The demo gateway: COM1 holds 3 commands, the first of length 10; COM2 holds 2; the second
// command of TCP class 0 starts at memory 450; node ID 5.
TEST(ConfigDiff, EqualConfigurationsChangedFieldsAndACommandOnlyOneSideHolds) {
    const GatewayConfig demo = ReadDemo();
    EXPECT_TRUE(DiffConfigTrees(ConfigToJson(demo), ConfigToJson(demo)).Equal());

    GatewayConfig changed = demo;
    changed.SerialClasses[0].Commands[0].Length = 12;
    changed.SerialClasses[1].CmdCount = 1;
    changed.TcpClasses[0].ServerIp[3] = 99;
    changed.ConnectionPaths.PollConsume = {0x66, 2, 13};
    const ConfigDifferences result = DiffConfigTrees(ConfigToJson(demo), ConfigToJson(changed));
    const QStringList changes = FieldChangeTexts(result.Changes);
    ASSERT_EQ(changes.size(), 5);
    EXPECT_EQ(changes[0], "ConnectionPaths.PollConsume: 0x67/2/13 -> 0x66/2/13");
    EXPECT_EQ(changes[1], "SerialClasses[0].Commands[0].Length: 10 -> 12");
    EXPECT_EQ(changes[2], "SerialClasses[1].CmdCount: 2 -> 1");
    EXPECT_TRUE(changes[3].startsWith(u"SerialClasses[1].Commands[1]: {"));
    EXPECT_TRUE(changes[3].endsWith(u"} -> (none)")) << changes[3].toStdString();
    EXPECT_EQ(changes[4], "TcpClasses[0].ServerIp: 192.168.0.10 -> 192.168.0.99");
    EXPECT_TRUE(result.OnlyInA.isEmpty());
    EXPECT_TRUE(result.OnlyInB.isEmpty());
}

// A backup against a read-out, with the Ethernet settings only the read-out holds: CliDiffTest.

// A file `apply` takes may name only some fields; what it leaves out is not compared, and
// what apply fills in (Valid, CmdCount) and a server address given as a text are compared as
// apply would store them.
TEST(ConfigDiff, APartialFileIsComparedAsApplyWouldStoreIt) {
    const QJsonObject partial = Parse(R"({"DeviceNetParams": {"NodeId": 12},
        "SerialClasses": [{"Commands": [{"NetId": 1, "FunctionCode": 3, "MemAddress": 0,
                                         "StartAddress": 0, "Length": 10}]}],
        "TcpClasses": [{"ServerIp": "192.168.0.10"}]})");
    QJsonObject tree;
    QStringList errors;
    ASSERT_TRUE(ConfigFileTree(partial, tree, errors));
    const ConfigDifferences result = DiffConfigTrees(tree, ConfigToJson(ReadDemo()));
    const QStringList changes = FieldChangeTexts(result.Changes);
    ASSERT_EQ(changes.size(), 4);
    EXPECT_EQ(changes.mid(0, 2), (QStringList{"DeviceNetParams.NodeId: 12 -> 5",
                                              "SerialClasses[0].CmdCount: 1 -> 3"}));
    EXPECT_TRUE(changes[2].startsWith(u"SerialClasses[0].Commands[1]: (none) -> {"));
    EXPECT_TRUE(changes[3].startsWith(u"SerialClasses[0].Commands[2]: (none) -> {"));
    EXPECT_TRUE(result.OnlyInB.contains("EthernetParams"));
    EXPECT_TRUE(result.OnlyInB.contains("SerialClasses[1]"));
    EXPECT_TRUE(result.OnlyInA.isEmpty());
    EXPECT_FALSE(ConfigFileTree(QJsonObject{{"Colour", 1}}, tree, errors));
}

TEST(ConfigDiff, RawBackupsByteByByte) {
    EepromImage before = sim::DemoImage();
    before.Blocks[8][35] = 0x0B;
    EXPECT_TRUE(DiffBackupBytes(before, before).isEmpty());
    EepromImage changed = before;
    changed.Blocks[8][35] = 0xA5;
    changed.Blocks[2][0] = 0x77;  // not a configuration block: no backup holds it
    EXPECT_EQ(FieldChangeTexts(DiffBackupBytes(before, changed), ByteValueText),
              QStringList("Block 8, address 35: 0B -> A5"));
}

}  // namespace
}  // namespace kv
