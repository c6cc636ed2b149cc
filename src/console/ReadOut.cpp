#include "console/ReadOut.h"

#include <array>
#include <span>

#include "config/EepromCodec.h"
#include "config/NumberText.h"
#include "config/ParameterChecks.h"
#include "console/EepromMode.h"
#include "console/Messages.h"

namespace kv {
namespace {

// Reads the run first..first+N-1 of the selected block ("e A" with key "B(A)=", one
// address after the other), then leaves the byte editor with ".".
template <size_t N>
bool ReadRun(ConsoleLink& link, int first, std::array<uint8_t, N>& bytes) {
    for (size_t i = 0; i < N; ++i) {
        const int address = first + int(i);
        if (!link.ReadConsoleByte(QStringLiteral("e %1").arg(address), ByteKey(address), bytes[i]))
            return false;
    }
    return LeaveByteEditor(link);
}

// The address of a "name=value" line: everything after the first "=" up to the next
// carriage return, without the blanks around it. A reply without either, or whose value is
// not four dotted numbers 0..255, is garbled.
bool ParseSettingReply(const QString& reply, QString& value) {
    const qsizetype equals = reply.indexOf(u'=');
    if (equals < 0) return false;
    const qsizetype lineEnd = reply.indexOf(u'\r', equals);
    if (lineEnd < 0) return false;
    const QStringView address =
        TrimSpaces(QStringView(reply).sliced(equals + 1, lineEnd - equals - 1));
    if (!IsValidIpText(address)) return false;
    value = address.toString();
    return true;
}

bool ReadSetting(ConsoleLink& link, const QString& command, QString& value) {
    return link.SendCommand(command, link.ControllerPrompt) &&
           ParseSettingReply(link.ReplyText, value);
}

bool ReadPortsAndSettings(ConsoleLink& link, GatewayConfig& config, const ProgressFn& progress) {
    if (!SelectBlock(link, eeprom::PortSettingsBlock)) return false;
    for (int port = 0; port < SerialClassCount; ++port) {
        std::array<uint8_t, eeprom::PortSettingsBytes> bytes{};
        if (!ReadRun(link, eeprom::PortSettingsAddress(port), bytes)) return false;
        eeprom::DecodePortSettings(bytes, config.SerialClasses[port]);
    }
    progress(2);
    std::array<uint8_t, eeprom::SettingsReadBytes> settings{};
    if (!SelectBlock(link, eeprom::SettingsBlock) || !ReadRun(link, 0, settings)) return false;
    eeprom::DecodeSettings(settings, config);
    progress(3);
    return true;
}

// Only a count of 1..slots is believed; any other count reads no commands.
template <size_t Slots, typename AddressOf>
bool ReadCommands(ConsoleLink& link, int cmdCount, std::array<ModbusCommand, Slots>& commands,
                  AddressOf addressOf) {
    for (int slot = 0; slot < eeprom::CommandsToRead(cmdCount, int(Slots)); ++slot) {
        std::array<uint8_t, eeprom::CommandBytes> bytes{};
        if (!ReadRun(link, addressOf(slot), bytes)) return false;
        eeprom::DecodeCommand(bytes, commands[slot]);
    }
    return true;
}

bool ReadSerialClass(ConsoleLink& link, SerialClassRecord& record, int serialIndex) {
    std::array<uint8_t, eeprom::SerialHeaderBytes> header{};
    if (!SelectBlock(link, eeprom::SerialClassBlock(serialIndex)) || !ReadRun(link, 0, header))
        return false;
    eeprom::DecodeSerialHeader(header, record);
    return ReadCommands(link, record.CmdCount, record.Commands, eeprom::SerialCommandAddress);
}

bool ReadTcpClass(ConsoleLink& link, TcpClassRecord& record, int connection) {
    std::array<uint8_t, eeprom::TcpHeaderBytes> header{};
    if (!ReadRun(link, eeprom::TcpClassBase(connection), header)) return false;
    eeprom::DecodeTcpHeader(header, record);
    return ReadCommands(link, record.CmdCount, record.Commands, [connection](int slot) {
        return eeprom::TcpCommandAddress(connection, slot);
    });
}

// Blocks 8..11; progress 4..8 after each class, as the progress bar has ten steps.
bool ReadClasses(ConsoleLink& link, GatewayConfig& config, const ProgressFn& progress) {
    int step = 4;
    for (int i = 0; i < SerialClassCount; ++i) {
        if (!ReadSerialClass(link, config.SerialClasses[i], i)) return false;
        progress(step++);
    }
    for (int j = 0; j < TcpClassCount; ++j) {
        if (eeprom::TcpClassBase(j) == 0 && !SelectBlock(link, eeprom::TcpClassBlock(j)))
            return false;
        if (!ReadTcpClass(link, config.TcpClasses[j], j)) return false;
        // The last class is followed by "quit", which reports progress itself.
        if (j + 1 < TcpClassCount) progress(step++);
    }
    return true;
}

}  // namespace

bool ReadEthernetSettings(ConsoleLink& link, EthernetParams& ethernet) {
    return ReadSetting(link, QStringLiteral("ip"), ethernet.Ip) &&
           ReadSetting(link, QStringLiteral("mask"), ethernet.Mask) &&
           ReadSetting(link, QStringLiteral("gateway"), ethernet.Gateway);
}

bool RecoverConsole(ConsoleLink& link) {
    const QString mainPrompt = QStringLiteral(">");
    // Until "quit" the console may be at its main prompt, in EEPROM mode or inside an edit
    // left open, and each shows its own prompt; the results are not used, so each line ends
    // at whichever prompt comes. "." closes an edit left open.
    const QStringList anyPrompt = {QStringLiteral("]"), mainPrompt};
    for (int i = 0; i < 3; ++i) link.SendCommand(QString(), anyPrompt);
    link.SendCommand(QStringLiteral("."), anyPrompt);
    link.SendCommand(QStringLiteral("quit"), mainPrompt);
    link.SendCommand(QString(), mainPrompt);
    return link.SendCommand(QString(), mainPrompt);
}

QString IdentifyController(const QString& reply) {
    const QString text = reply.trimmed();
    for (const ControllerModelInfo& model : ControllerModels)
        if (text.contains(QLatin1String(model.Name))) return QLatin1String(model.Name);
    return {};
}

ReadOutResult ReadGateway(ConsoleLink& link, GatewayConfig& config,
                          const ProgressFn& reportProgress) {
    const ProgressFn progress = reportProgress ? reportProgress : [](int) {};
    progress(1);
    if (!RecoverConsole(link)) return ReadOutResult::Timeout;
    const QString model = IdentifyController(link.ReplyText);
    if (model.isEmpty()) return ReadOutResult::UnknownController;
    link.ControllerPrompt = model + u'>';

    if (!ReadEthernetSettings(link, config.EthernetParams)) return ReadOutResult::Timeout;
    progress(1);
    if (!EnterEepromMode(link)) return ReadOutResult::Timeout;
    if (!ReadPortsAndSettings(link, config, progress)) return ReadOutResult::Timeout;
    if (config.ConfigMarker == ConfigMarkerValid && !ReadClasses(link, config, progress))
        return ReadOutResult::Timeout;
    if (!LeaveEepromMode(link)) return ReadOutResult::Timeout;
    progress(9);
    return ReadOutResult::Ok;
}

QString ReadOutFailureText(ReadOutResult result, const LinkEndState& end) {
    switch (result) {
        case ReadOutResult::Ok:
            return {};
        case ReadOutResult::UnknownController:
            return QString::fromLatin1(UnknownControllerText);
        case ReadOutResult::Timeout:
            break;
    }
    return ExchangeFailureText(end);
}

}  // namespace kv
