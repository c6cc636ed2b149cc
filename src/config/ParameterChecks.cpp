#include "config/ParameterChecks.h"

#include <QList>
#include <QStringList>

#include "config/BaudTexts.h"
#include "config/NumberText.h"
#include "config/PortChecksum.h"

namespace kv {
namespace {

constexpr int IpPartCount = 4;

// IP and gateway addresses name a host: the last number may be neither the network
// (0) nor the broadcast (255) address.
bool IsValidHostAddress(QStringView text) {
    if (!IsValidIpText(text)) return false;
    const double last = ReadLeadingNumber(text.mid(text.lastIndexOf(u'.') + 1));
    return last >= 1 && last <= 254;
}

bool InRange(int position, int count) { return position >= 0 && position < count; }

QString RefusedListText(const char* field) {
    return QStringLiteral("%1 is not supported!").arg(field);
}

}  // namespace

bool IsValidIpText(QStringView text) {
    const QList<QStringView> parts = text.split(u'.');
    if (parts.size() != IpPartCount) return false;
    for (const QStringView part : parts)
        if (!ReadDecimalByte(part)) return false;
    return true;
}

QString CanonicalIpText(QStringView text) {
    QStringList parts;
    for (const QStringView part : text.split(u'.'))
        parts << QString::number(ReadDecimalByte(part).value_or(0));
    return parts.join(u'.');
}

std::optional<uint8_t> NodeIdFromText(QStringView text) {
    const double number = ReadLeadingNumber(text.trimmed());
    if (number < 0 || number > HighestNodeId) return std::nullopt;
    return static_cast<uint8_t>(RoundHalfEven(number));
}

SettingResult ApplyDeviceNetSetting(GatewayConfig& config, QStringView nodeIdText,
                                    int baudPosition) {
    const std::optional<uint8_t> nodeId = NodeIdFromText(nodeIdText);
    if (!nodeId) return {NodeIdRefusedText};
    if (!InRange(baudPosition, DeviceNetBaudCount)) return {RefusedListText("Baud rate")};
    config.DeviceNetParams.BaudIndex = static_cast<uint8_t>(baudPosition);
    config.DeviceNetParams.NodeId = *nodeId;
    return {};
}

SettingResult ApplyComSetting(GatewayConfig& config, const ComSettingPositions& positions) {
    if (!InRange(positions.Port, SerialClassCount)) return {RefusedListText("COM port")};
    if (!InRange(positions.Baud, int(BaudRates.size()))) return {RefusedListText("Baud rate")};
    if (!InRange(positions.DataBits, 2)) return {RefusedListText("Data Bit")};
    if (!InRange(positions.Parity, 3)) return {RefusedListText("Parity")};
    if (!InRange(positions.StopBits, 2)) return {RefusedListText("Stop Bit")};

    SerialClassRecord& port = config.SerialClasses[size_t(positions.Port)];
    config.ComBaudIndex[size_t(positions.Port)] = static_cast<uint8_t>(positions.Baud);
    port.Baud = BaudRates[size_t(positions.Baud)];
    port.DataBits = static_cast<uint8_t>(positions.DataBits + 7);
    port.Parity = static_cast<uint8_t>(positions.Parity);
    port.StopBits = static_cast<uint8_t>(positions.StopBits + 1);
    port.PortChecksum = ComputePortChecksum(port);
    return {};
}

EthernetSettingResult ApplyEthernetSetting(EthernetParams& params, const EthernetTexts& texts) {
    struct Step {
        QString Text;
        QString& Field;
        bool (*Check)(QStringView);
        const char* Refusal;
    };
    const Step steps[] = {
        {texts.Ip.trimmed(), params.Ip, IsValidHostAddress, InvalidIpText},
        {texts.Gateway.trimmed(), params.Gateway, IsValidHostAddress, InvalidGatewayText},
        {texts.Mask.trimmed(), params.Mask, IsValidIpText, InvalidMaskText},
    };
    EthernetSettingResult result;
    for (const Step& step : steps) {
        if (!step.Check(step.Text)) {
            result.Message = step.Refusal;
            return result;
        }
        step.Field = CanonicalIpText(step.Text);
        ++result.Accepted;
    }
    return result;
}

}  // namespace kv
