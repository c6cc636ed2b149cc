#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>

#include "MaximalConfig.h"
#include "config/ConfigJson.h"

namespace kv {
namespace {

QJsonObject Parse(const char* text) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
    return document.object();
}

// A complete command as a file gives it.
const char* const Command =
    R"({"NetId": 1, "FunctionCode": 3, "MemAddress": 0, "StartAddress": 0, "Length": 1})";

// `before`, a list of `count` complete commands and then `last` if given, and `after`.
QByteArray WithCommands(const char* before, int count, const char* after,
                        const char* last = nullptr) {
    QByteArrayList commands;
    for (int i = 0; i < count; ++i) commands.append(Command);
    if (last) commands.append(last);
    return QByteArray(before) + '[' + commands.join(',') + ']' + after;
}

TEST(ConfigJson, MaximalConfigurationSurvivesTextAndMerge) {
    const GatewayConfig original = test::MaximalConfig();
    const QByteArray text = QJsonDocument(ConfigToJson(original)).toJson();
    EXPECT_TRUE(text.contains("\"Baud\": 115200,")) << text.constData();  // not 115200.0
    EXPECT_TRUE(text.contains("\"ConnTimeout\": 4294967295,"));
    EXPECT_TRUE(text.contains("\"Year\": 2009\n"));
    EXPECT_TRUE(text.contains("\"Format\": \"kv9052r-configuration/1\","));

    GatewayConfig merged;
    QStringList errors;
    ASSERT_TRUE(MergeConfigJson(QJsonDocument::fromJson(text).object(), merged, errors))
        << errors.join('\n').toStdString();
    EXPECT_TRUE(errors.isEmpty());
    // The controller's own data is shown but never taken from a file.
    EXPECT_EQ(merged.FirmwareInfo, FirmwareInfo{});
    EXPECT_EQ(merged.ConfigMarker, 0);
    merged.FirmwareInfo = original.FirmwareInfo;
    merged.ConfigMarker = original.ConfigMarker;
    test::ExpectSameStoredFields(merged, original);
}

TEST(ConfigJson, ListsOnlyTheStoredCommands) {
    GatewayConfig config = test::MaximalConfig();
    config.SerialClasses[0].CmdCount = 2;
    config.SerialClasses[1].CmdCount = 11;  // as a gateway may hold it: no more than the slots
    config.TcpClasses[0].CmdCount = 0;
    const QJsonObject json = ConfigToJson(config);
    const auto commandsOf = [&](const char* list, int index) {
        return json[QLatin1String(list)].toArray()[index].toObject()["Commands"].toArray();
    };
    EXPECT_EQ(commandsOf("SerialClasses", 0).size(), 2);
    EXPECT_EQ(commandsOf("SerialClasses", 1).size(), 10);
    EXPECT_EQ(commandsOf("TcpClasses", 0).size(), 0);
    EXPECT_EQ(commandsOf("TcpClasses", 3).size(), 5);
    EXPECT_EQ(commandsOf("SerialClasses", 0)[1].toObject()["Length"].toInt(), 1919);
}

TEST(ConfigJson, MergesOnlyTheKeysGiven) {
    const GatewayConfig original = test::MaximalConfig();
    GatewayConfig config = original;
    QStringList errors;
    ASSERT_TRUE(
        MergeConfigJson(Parse(R"({"SerialClasses": [{"CmdTimeout": 500}]})"), config, errors));
    EXPECT_EQ(config.SerialClasses[0].CmdTimeout, 500);
    config.SerialClasses[0].CmdTimeout = original.SerialClasses[0].CmdTimeout;
    test::ExpectSameStoredFields(config, original);

    // Values the gateway derives are accepted in a file but not taken from it.
    const char* derived = R"({"FirmwareInfo": {"Major": 9}, "ConfigMarker": 0,
        "ComBaudIndex": [0, 0], "SerialClasses": [{"PortChecksum": 1}]})";
    ASSERT_TRUE(MergeConfigJson(Parse(derived), config, errors));
    test::ExpectSameStoredFields(config, original);
}

TEST(ConfigJson, PortSettingsBringTheirCheckByteAndBaudPosition) {
    GatewayConfig config = test::MaximalConfig();
    QStringList errors;
    const char* file = R"({"SerialClasses": [{}, {"Baud": 9600, "DataBits": 8, "Parity": 1,
        "StopBits": 1}]})";
    ASSERT_TRUE(MergeConfigJson(Parse(file), config, errors));
    EXPECT_EQ(config.SerialClasses[1].PortChecksum, 175);
    EXPECT_EQ(config.ComBaudIndex[1], 3);
    EXPECT_EQ(config.ComBaudIndex[0], 7);
    EXPECT_EQ(config.SerialClasses[0].PortChecksum,
              test::MaximalConfig().SerialClasses[0].PortChecksum);
}

TEST(ConfigJson, CommandsListReplacesTheClassCommands) {
    GatewayConfig config = test::MaximalConfig();
    QStringList errors;
    const char* file = R"({"TcpClasses": [{}, {"Commands": [{"NetId": 5, "FunctionCode": 16,
        "MemAddress": 10, "StartAddress": 400, "Length": 2}]}],
        "SerialClasses": [{"Commands": []}]})";
    ASSERT_TRUE(MergeConfigJson(Parse(file), config, errors)) << errors.join('\n').toStdString();
    const TcpClassRecord& tcp = config.TcpClasses[1];
    EXPECT_EQ(tcp.CmdCount, 1);
    EXPECT_EQ(tcp.Commands[0], (ModbusCommand{1, 5, 16, 10, 400, 2}));
    for (int slot = 1; slot < TcpCommandSlots; ++slot)
        EXPECT_EQ(tcp.Commands[slot], ModbusCommand{});
    EXPECT_EQ(config.SerialClasses[0].CmdCount, 0);
    EXPECT_EQ(config.SerialClasses[0].Commands[9], ModbusCommand{});
    EXPECT_EQ(config.TcpClasses[0], test::MaximalConfig().TcpClasses[0]);
}

TEST(ConfigJson, ReportsEveryFaultWithItsKeyPathAndAppliesNothing) {
    const QByteArray longLength = WithCommands(
        R"({"SerialClasses": [{"Commands": )", 2, "}]}",
        R"({"NetId": 1, "FunctionCode": 3, "MemAddress": 0, "StartAddress": 0, "Length": 70000})");
    const std::vector<std::pair<QByteArray, QString>> cases = {
        {longLength, "SerialClasses[0].Commands[2].Length: must lie in 0..65535, not 70000"},
        {R"({"DeviceNetParams": {"NodeId": "5"}})", "DeviceNetParams.NodeId: must be a number"},
        {R"({"TcpClasses": [{}, {}, {"CmdTimeout": 2.5}]})",
         "TcpClasses[2].CmdTimeout: must be a whole number, not 2.5"},
        {R"({"Colour": 1})", "Colour: unknown key"},
        {WithCommands(R"({"TcpClasses": [{"Commands": )", 6, "}]}"),
         "TcpClasses[0].Commands: lists 6 commands; the class has 5 slots"},
        {WithCommands(R"({"SerialClasses": [{"CmdCount": 3, "Commands": )", 1, "}]}"),
         "SerialClasses[0].CmdCount: is 3 but Commands lists 1"},
        {R"({"SerialClasses": [{"Baud": 12345}]})",
         "SerialClasses[0].Baud: must be one of 1200, 2400, 4800, 9600, 19200, 38400, 57600, "
         "115200"},
        {R"({"SerialClasses": [{}, {}, {}]})", "SerialClasses: lists 3 classes; there are 2"},
        {R"({"ConnectionPaths": {"PollProduce": [1, 2]}})",
         "ConnectionPaths.PollProduce: must list 3 numbers, not 2"},
        {R"({"TcpClasses": [{"Commands": [7]}]})", "TcpClasses[0].Commands[0]: must be an object"},
        {R"({"DeviceNetParams": {"BaudIndex": "1 MBPS"}})",
         R"(DeviceNetParams.BaudIndex: unknown name "1 MBPS"; the names are "125 KBPS", )"
         R"("250 KBPS", "500 KBPS")"},
        {R"({"Format": "kv9052r-configuration/2"})",
         R"(Format: must be "kv9052r-configuration/1")"},
    };
    for (const auto& [file, expected] : cases) {
        GatewayConfig config = test::MaximalConfig();
        QStringList errors;
        EXPECT_FALSE(MergeConfigJson(Parse(file.constData()), config, errors)) << file.constData();
        EXPECT_EQ(errors, QStringList{expected});
        test::ExpectSameStoredFields(config, test::MaximalConfig());
    }
}

TEST(ConfigJson, CollectsAllFaultsAndKeepsTheGoodChangesBack) {
    GatewayConfig config = test::MaximalConfig();
    QStringList errors{"earlier"};
    const char* file = R"({"DeviceNetParams": {"NodeId": 5},
        "SerialClasses": [{"Commands": [{"NetId": 1, "Valid": 1, "Speed": 9}]}]})";
    EXPECT_FALSE(MergeConfigJson(Parse(file), config, errors));
    EXPECT_EQ(errors, (QStringList{"earlier", "SerialClasses[0].Commands[0].Speed: unknown key",
                                   "SerialClasses[0].Commands[0].FunctionCode: missing",
                                   "SerialClasses[0].Commands[0].MemAddress: missing",
                                   "SerialClasses[0].Commands[0].StartAddress: missing",
                                   "SerialClasses[0].Commands[0].Length: missing"}));
    EXPECT_EQ(config.DeviceNetParams.NodeId, 63);
}

TEST(ConfigJson, ListFieldsReadTheirEntryTextsLikeTheirNumbers) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {R"({"DeviceNetParams": {"BaudIndex": " 500 kbps "}})",
         R"({"DeviceNetParams": {"BaudIndex": 2}})"},
        {R"({"SerialClasses": [{"Parity": "EVEN"}, {"Parity": "odd"}]})",
         R"({"SerialClasses": [{"Parity": 1}, {"Parity": 2}]})"},
        {R"({"SerialClasses": [{"ConnMode": "Modbus RTU"}, {"ConnMode": "NONE"}]})",
         R"({"SerialClasses": [{"ConnMode": 1}, {"ConnMode": 0}]})"},
        {R"({"TcpClasses": [{"ConnValid": "YES"}, {"ConnValid": "no"}]})",
         R"({"TcpClasses": [{"ConnValid": 1}, {"ConnValid": 0}]})"},
        {R"({"TcpClasses": [{"Commands": [{"NetId": 1, "FunctionCode": "FC15 Force Multiple Coils",
             "MemAddress": 0, "StartAddress": 0, "Length": 1}]}]})",
         R"({"TcpClasses": [{"Commands": [{"NetId": 1, "FunctionCode": 15,
             "MemAddress": 0, "StartAddress": 0, "Length": 1}]}]})"},
    };
    for (const auto& [named, numbered] : cases) {
        GatewayConfig byName;
        GatewayConfig byNumber;
        QStringList errors;
        EXPECT_TRUE(MergeConfigJson(Parse(named), byName, errors))
            << errors.join('\n').toStdString();
        EXPECT_TRUE(MergeConfigJson(Parse(numbered), byNumber, errors));
        EXPECT_EQ(ConfigToJson(byName), ConfigToJson(byNumber)) << named;
    }
}

TEST(ConfigText, ShowsSettingsAndClassesOnlyUnderTheMarker) {
    GatewayConfig config = test::MaximalConfig();
    QString text = FormatConfigText(config);
    EXPECT_TRUE(text.contains("Firmware: 1.03-2009/07/15\n"));
    EXPECT_TRUE(text.contains("DeviceNet: node ID 63, 500 kbit/s\n"));
    EXPECT_TRUE(
        text.contains("COM2: 57600 bit/s, data bits 7, parity EVEN, stop bits 1, check byte 234\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("Poll produced path: class 0x64, instance 2, attribute 3\n"));
    EXPECT_TRUE(
        text.contains("Class 0x6A (Modbus TCP connection 4): used YES, server 192.168.3.253"));
    EXPECT_TRUE(text.contains("Instance 10: valid 1, Modbus ID 30,"));
    config.ConfigMarker = 0;
    config.SerialClasses[0].Parity = 7;
    text = FormatConfigText(config);
    EXPECT_TRUE(text.contains("parity unknown (7)"));
    EXPECT_TRUE(text.contains("No Modbus configuration stored (marker 0)\n"));
    EXPECT_FALSE(text.contains("Class 0x65"));
}

}  // namespace
}  // namespace kv
