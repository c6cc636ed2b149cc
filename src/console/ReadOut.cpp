#include "console/ReadOut.h"

#include "config/EepromCodec.h"
#include "config/NumberText.h"
#include "config/ParameterChecks.h"
#include "console/EepromMode.h"
#include "console/Messages.h"

namespace kv {
namespace {

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

// Progress 2 after block 0, 3 after block 1 and 4..8 after each class but the last, as the
// progress bar has ten steps; "quit" reports the last value itself.
void ReportPartRead(const RunPart& part, const ProgressFn& progress) {
    if (part.What == RunPart::PortSettings && part.Index + 1 == SerialClassCount) progress(2);
    if (part.What == RunPart::Settings) progress(3);
    if (part.What == RunPart::Class && part.Index + 1 < SerialClassCount + TcpClassCount)
        progress(4 + part.Index);
}

// Blocks 0 and 1, and 8..11 under the marker, each run read address by address.
bool ReadEeprom(ConsoleLink& link, GatewayConfig& config, const ProgressFn& progress) {
    RunEditor editor(link);
    return eeprom::ReadConfigRuns(
        config, [&editor](EepromRun& run) { return editor.Read(run); },
        [&progress](const RunPart& part) { ReportPartRead(part, progress); });
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
    if (!EnterEepromMode(link) || !ReadEeprom(link, config, progress) || !LeaveEepromMode(link))
        return ReadOutResult::Timeout;
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
