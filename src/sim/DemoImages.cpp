#include "sim/DemoImages.h"

#include "config/BaudTexts.h"
#include "config/EepromCodec.h"
#include "config/FunctionCodes.h"
#include "config/PortChecksum.h"

namespace kv::sim {

namespace {

constexpr FirmwareInfo ShippedFirmware{1, 3, 2009, 7, 15};

void WriteFirmware(const FirmwareInfo& firmware, EepromImage& image) {
    EepromBlock& block = image.Blocks[eeprom::SettingsBlock];
    block[0] = firmware.Major;
    block[1] = firmware.Minor;
    block[2] = firmware.Day;
    block[3] = firmware.Month;
    block[4] = static_cast<uint8_t>(firmware.Year / 256);
    block[5] = static_cast<uint8_t>(firmware.Year % 256);
}

void SetPort(SerialClassRecord& port, double baud, uint8_t parity) {
    port.Baud = baud;
    port.DataBits = 8;
    port.Parity = parity;
    port.StopBits = 1;
    port.PortChecksum = ComputePortChecksum(port);
}

ModbusCommand Command(uint8_t netId, uint8_t functionCode, int memAddress, int startAddress,
                      int length) {
    return {1, netId, functionCode, double(memAddress), double(startAddress), length};
}

// The command for slot `index` of all commands, each in its own stretch of memory.
ModbusCommand NumberedCommand(int index, SingleItemLength singleItems) {
    const uint8_t code = FunctionCodes[index % FunctionCodes.size()];
    const bool single = IsSingleItemCode(code) && singleItems == SingleItemLength::One;
    const int length = single ? 1 : IsBitCode(code) ? 16 : 4;
    return Command(static_cast<uint8_t>(1 + index % 247), code, 40 * index, 100 * index, length);
}

TcpClassRecord TcpServer(uint8_t lastOctet) {
    TcpClassRecord server;
    server.ConnValid = 1;
    server.ServerIp = {192, 168, 0, lastOctet};
    server.ConnTimeout = 3000;
    server.RetryConnTimeout = 10000;
    server.CmdTimeout = 1000;
    return server;
}

GatewayConfig BaseConfig() {
    GatewayConfig config;
    config.FirmwareInfo = ShippedFirmware;
    config.ConfigMarker = ConfigMarkerValid;
    config.EthernetParams = {QStringLiteral("192.168.255.1"), QStringLiteral("255.255.255.0"),
                             QStringLiteral("192.168.0.1")};
    return config;
}

EepromImage ImageOf(const GatewayConfig& config) {
    EepromImage image = FactoryImage();
    eeprom::EncodeImage(config, image);
    return image;
}

}  // namespace

EepromImage FactoryImage() {
    EepromImage image;
    GatewayConfig config;
    const int fastest = static_cast<int>(BaudRates.size()) - 1;
    for (int port = 0; port < SerialClassCount; ++port) {
        SetPort(config.SerialClasses[port], BaudRates[fastest], 0);
        config.ComBaudIndex[port] = static_cast<uint8_t>(fastest);
        const auto bytes = eeprom::EncodePortSettings(config.SerialClasses[port]);
        std::copy(
            bytes.begin(), bytes.end(),
            image.Blocks[eeprom::PortSettingsBlock].begin() + eeprom::PortSettingsAddress(port));
    }
    WriteFirmware(ShippedFirmware, image);
    auto settings = eeprom::EncodeSettings(config);
    settings[0] = 0;  // a new gateway carries no configuration marker
    settings[1] = 0;
    std::copy(settings.begin(), settings.end(),
              image.Blocks[eeprom::SettingsBlock].begin() + eeprom::SettingsWriteAddress);
    return image;
}

GatewayConfig DemoConfig() {
    GatewayConfig config = BaseConfig();
    config.DeviceNetParams = {5, 2};
    config.ComBaudIndex = {static_cast<uint8_t>(BaudIndexOf(19200)),
                           static_cast<uint8_t>(BaudIndexOf(9600))};

    SerialClassRecord& rtu = config.SerialClasses[0];
    SetPort(rtu, 19200, 1);
    rtu.ConnMode = 1;
    rtu.CmdTimeout = 1000;
    rtu.Commands[0] = Command(1, 3, 0, 0, 10);
    rtu.Commands[1] = Command(1, 16, 100, 200, 4);
    rtu.Commands[2] = Command(2, 1, 200, 0, 16);
    rtu.CmdCount = 3;

    SerialClassRecord& ascii = config.SerialClasses[1];
    SetPort(ascii, 9600, 0);
    ascii.ConnMode = 2;
    ascii.CmdTimeout = 2000;
    ascii.Commands[0] = Command(7, 4, 300, 10, 2);
    ascii.Commands[1] = Command(7, 6, 310, 20, 1);
    ascii.CmdCount = 2;

    config.TcpClasses[0] = TcpServer(10);
    config.TcpClasses[0].Commands[0] = Command(1, 3, 400, 0, 20);
    config.TcpClasses[0].Commands[1] = Command(1, 16, 450, 100, 20);
    config.TcpClasses[0].CmdCount = 2;
    config.TcpClasses[2] = TcpServer(30);
    config.TcpClasses[2].Commands[0] = Command(3, 2, 500, 0, 64);
    config.TcpClasses[2].CmdCount = 1;

    // Produced: class 0x65 instance 1 (reads registers); consumed: class 0x67 instance 2
    // (writes registers); attribute 0x0D for register data.
    config.ConnectionPaths = {{0x65, 1, 0x0D}, {0x67, 2, 0x0D}};
    return config;
}

EepromImage DemoImage() { return ImageOf(DemoConfig()); }

GatewayConfig MaximalConfig(SingleItemLength singleItems) {
    GatewayConfig config = BaseConfig();
    config.DeviceNetParams = {63, 2};
    config.ComBaudIndex = {7, 7};
    int index = 0;
    for (int serial = 0; serial < SerialClassCount; ++serial) {
        SerialClassRecord& record = config.SerialClasses[serial];
        SetPort(record, 115200, 0);
        record.ConnMode = static_cast<uint8_t>(1 + serial);
        record.CmdTimeout = 1000;
        record.CmdCount = SerialCommandSlots;
        for (ModbusCommand& command : record.Commands)
            command = NumberedCommand(index++, singleItems);
    }
    for (int connection = 0; connection < TcpClassCount; ++connection) {
        TcpClassRecord& record = config.TcpClasses[connection];
        record = TcpServer(static_cast<uint8_t>(10 + connection));
        record.CmdCount = TcpCommandSlots;
        for (ModbusCommand& command : record.Commands)
            command = NumberedCommand(index++, singleItems);
    }
    // Command 1 of class 0x65 reads coils and command 5 writes one; both move bits
    // (attribute 0x0B).
    config.ConnectionPaths = {{0x65, 1, 0x0B}, {0x65, 5, 0x0B}};
    return config;
}

EepromImage MaximalImage(SingleItemLength singleItems) {
    return ImageOf(MaximalConfig(singleItems));
}

}  // namespace kv::sim
