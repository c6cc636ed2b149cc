#include "config/EnumeratedNames.h"

#include <QRegularExpression>

#include "config/CommandChecks.h"
#include "config/ParameterChecks.h"

namespace kv {
namespace {

std::vector<NamedValue> ByPosition(const QStringList& texts) {
    std::vector<NamedValue> entries;
    for (int i = 0; i < texts.size(); ++i) entries.emplace_back(texts[i], i);
    return entries;
}

std::vector<NamedValue> DeviceNetBauds() {
    QStringList texts;
    for (const char* text : DeviceNetBaudTexts) texts.append(QLatin1String(text));
    return ByPosition(texts);
}

std::vector<NamedValue> FunctionCodes() {
    std::vector<NamedValue> entries;
    const QStringList& texts = FunctionCodeEntries();
    for (int i = 0; i < texts.size(); ++i)
        entries.emplace_back(texts[i], FunctionCodeAtPosition(i));
    return entries;
}

}  // namespace

const std::vector<NamedValue>* NamedValuesOf(QStringView key) {
    static const std::vector<NamedValue> bauds = DeviceNetBauds();
    static const std::vector<NamedValue> parities = ByPosition({"NONE", "EVEN", "ODD"});
    static const std::vector<NamedValue> modes = ByPosition({"NONE", "Modbus RTU", "Modbus ASCII"});
    static const std::vector<NamedValue> used = ByPosition({"NO", "YES"});
    static const std::vector<NamedValue> codes = FunctionCodes();
    if (key == u"BaudIndex") return &bauds;
    if (key == u"Parity") return &parities;
    if (key == u"ConnMode") return &modes;
    if (key == u"ConnValid") return &used;
    if (key == u"FunctionCode") return &codes;
    return nullptr;
}

std::optional<QString> EntryTextOf(QStringView key, double value) {
    const auto* entries = NamedValuesOf(key);
    if (!entries) return std::nullopt;
    for (const auto& [text, number] : *entries)
        if (number == value) return text;
    return std::nullopt;
}

std::optional<int> ValueOfName(const std::vector<NamedValue>& entries, const QString& text) {
    const QString given = text.trimmed();
    for (const auto& [name, value] : entries)
        if (name.compare(given, Qt::CaseInsensitive) == 0) return value;
    return std::nullopt;
}

std::optional<qint64> FunctionCodeOfText(const QString& text) {
    if (const auto entry = ValueOfName(*NamedValuesOf(u"FunctionCode"), text)) return *entry;
    // The code as Modbus documents and spreadsheets write it: "FC16", "fc 16", "0x10".
    static const QRegularExpression spelling(
        QStringLiteral(R"(^(?:fc\s*)?(?:0x([0-9a-f]+)|([0-9]+))$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = spelling.match(text.trimmed());
    if (!match.hasMatch()) return std::nullopt;
    bool isNumber = false;
    const qint64 code = match.hasCaptured(1) ? match.captured(1).toLongLong(&isNumber, 16)
                                             : match.captured(2).toLongLong(&isNumber);
    return isNumber ? std::optional(code) : std::nullopt;
}

std::optional<qint64> ListValueOfText(QStringView key, const QString& text) {
    if (key == u"FunctionCode") return FunctionCodeOfText(text);
    const auto* entries = NamedValuesOf(key);
    if (!entries) return std::nullopt;
    return ValueOfName(*entries, text);
}

QString NamesText(const std::vector<NamedValue>& entries) {
    QStringList quoted;
    for (const auto& entry : entries) quoted.append(u'"' + entry.first + u'"');
    return quoted.join(QStringLiteral(", "));
}

}  // namespace kv
