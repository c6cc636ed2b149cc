#include "save/FactoryReset.h"

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
bool ClearPortChecksums(RunEditor& editor) {
    for (int port = 0; port < SerialClassCount; ++port) {
        const int address = eeprom::PortSettingsAddress(port) + ChecksumOffset;
        if (!editor.Write({eeprom::PortSettingsBlock, address, {0}, {}})) return false;
    }
    return true;
}

bool ClearConfigMarker(RunEditor& editor) {
    return editor.Write({eeprom::SettingsBlock, MarkerAddress, {0, 0}, {}});
}

bool WriteDeviceNetParams(RunEditor& editor, GatewayConfig& config) {
    config.DeviceNetParams = FactoryDeviceNet;
    const DeviceNetParams& params = config.DeviceNetParams;
    return editor.Write(
        {eeprom::SettingsBlock, NodeIdAddress, {params.NodeId, params.BaudIndex}, {}});
}

bool RunFactoryReset(ConsoleLink& link, GatewayConfig& config, const ProgressFn& progress) {
    if (!RecoverConsole(link)) return false;
    config.EthernetParams = FactoryEthernetParams();
    if (!SendEthernetSettings(link, config.EthernetParams)) return false;
    ReportProgress(progress, EthernetDone);
    RunEditor editor(link);
    if (!EnterEepromMode(link) || !ClearPortChecksums(editor)) return false;
    ReportProgress(progress, ChecksumsDone);
    if (!ClearConfigMarker(editor)) return false;
    ReportProgress(progress, MarkerDone);
    if (!WriteDeviceNetParams(editor, config)) return false;
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
