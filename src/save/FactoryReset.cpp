#include "save/FactoryReset.h"

#include <array>

#include "config/EepromCodec.h"
#include "console/EepromMode.h"
#include "save/ConsoleWrites.h"

namespace kv {

namespace {

constexpr int EthernetDone = 3;
constexpr int ChecksumsDone = 5;
constexpr int MarkerDone = 7;
constexpr int DeviceNetDone = 9;
constexpr int Finished = 10;

constexpr int ChecksumOffset = eeprom::PortSettingsBytes - 1;
constexpr int MarkerAddress = eeprom::SettingsWriteAddress;
constexpr int NodeIdAddress = MarkerAddress + 2;

constexpr DeviceNetParams FactoryDeviceNet{1, 0};

// A wrong check byte makes the gateway fall back to its default port settings.
bool ClearPortChecksums(ConsoleLink& link) {
    const std::array<uint8_t, 1> zero = {0};
    if (!SelectBlock(link, eeprom::PortSettingsBlock)) return false;
    for (int port = 0; port < SerialClassCount; ++port)
        if (!WriteEditSequence(link, eeprom::PortSettingsAddress(port) + ChecksumOffset, zero))
            return false;
    return true;
}

bool ClearConfigMarker(ConsoleLink& link) {
    const std::array<uint8_t, 2> cleared = {0, 0};
    return SelectBlock(link, eeprom::SettingsBlock) &&
           WriteEditSequence(link, MarkerAddress, cleared);
}

bool WriteDeviceNetParams(ConsoleLink& link, GatewayConfig& config) {
    config.DeviceNetParams = FactoryDeviceNet;
    const std::array<uint8_t, 2> bytes = {config.DeviceNetParams.NodeId,
                                          config.DeviceNetParams.BaudIndex};
    return WriteEditSequence(link, NodeIdAddress, bytes);
}

bool RunFactoryReset(ConsoleLink& link, GatewayConfig& config, const ProgressFn& progress) {
    if (!RecoverConsole(link)) return false;
    config.EthernetParams = FactoryEthernetParams();
    if (!SendEthernetSettings(link, config.EthernetParams)) return false;
    ReportProgress(progress, EthernetDone);
    if (!EnterEepromMode(link) || !ClearPortChecksums(link)) return false;
    ReportProgress(progress, ChecksumsDone);
    if (!ClearConfigMarker(link)) return false;
    ReportProgress(progress, MarkerDone);
    if (!WriteDeviceNetParams(link, config)) return false;
    ReportProgress(progress, DeviceNetDone);
    return LeaveEepromMode(link);
}

}  // namespace

EthernetParams FactoryEthernetParams() {
    EthernetParams ethernet;
    ethernet.Ip = QStringLiteral("192.168.255.1");
    ethernet.Gateway = QStringLiteral("192.168.0.1");
    ethernet.Mask = QStringLiteral("255.255.255.0");
    return ethernet;
}

WriteResult FactoryReset(ConsoleLink& link, GatewayConfig& config, const ProgressFn& progress) {
    if (!RunFactoryReset(link, config, progress)) return WriteResult::Timeout;
    ReportProgress(progress, Finished);
    return WriteResult::Ok;
}

}  // namespace kv
