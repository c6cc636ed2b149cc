#include "config/ConfigFile.h"

#include <QJsonDocument>
#include <algorithm>

#include "config/BackupFingerprint.h"
#include "config/ConfigJson.h"
#include "config/JsonSourceText.h"
#include "config/OrderedJsonText.h"
#include "platform/LimitedFile.h"
#include "platform/WholeFile.h"

namespace kv {
namespace {

const QByteArray Utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

bool IsJsonBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The byte index of a syntax error. QJsonParseError::offset is where the parser stopped:
// past the token it took for a misplaced one (and past the blanks after it when a value
// separator is missing), past a number it could not read, or at the end when the text ran
// out before a closing bracket or a separator.
qsizetype SyntaxErrorIndex(const QByteArray& bytes, const QJsonParseError& error) {
    qsizetype at = std::min<qsizetype>(error.offset, bytes.size());
    switch (error.error) {
        case QJsonParseError::IllegalNumber:
            while (at > 0 && IsJsonNumberCharacter(bytes[at - 1])) --at;
            return at;
        case QJsonParseError::UnterminatedObject:
        case QJsonParseError::MissingNameSeparator:
        case QJsonParseError::UnterminatedArray:
            if (at == bytes.size()) return at;
            [[fallthrough]];
        case QJsonParseError::MissingValueSeparator:
        case QJsonParseError::IllegalValue:
        case QJsonParseError::MissingObject:
        case QJsonParseError::DeepNesting:
            while (at > 0 && IsJsonBlank(bytes[at - 1])) --at;
            return std::max<qsizetype>(at - 1, 0);
        default:
            return at;
    }
}

// Characters, not bytes, as an editor counts columns: every UTF-8 byte but the
// continuation bytes starts a character.
qsizetype CharacterCount(const QByteArray& utf8) {
    return std::ranges::count_if(utf8, [](char c) { return (uint8_t(c) & 0xC0) != 0x80; });
}

// "line L, column C" of a byte index, as an editor counts them.
QString PositionText(const QByteArray& bytes, qsizetype at) {
    const QByteArray before = bytes.left(at);
    const qsizetype lineStart =
        std::max<qsizetype>(before.lastIndexOf('\n') + 1, bytes.startsWith(Utf8Bom) ? 3 : 0);
    return QStringLiteral("line %1, column %2")
        .arg(before.count('\n') + 1)
        .arg(CharacterCount(before.mid(lineStart)) + 1);
}

ConfigFileRead Refused(const QString& error) { return {{}, error, {}}; }

}  // namespace

ConfigFileRead ReadConfigFile(const QString& path) {
    QByteArray bytes;
    const QString failure = ReadInputFile(path, bytes);
    if (!failure.isEmpty()) return Refused(path + QStringLiteral(": ") + failure);
    return ParseConfigText(bytes, path);
}

ConfigFileRead ParseConfigText(const QByteArray& bytes, const QString& name) {
    if (bytes.trimmed().isEmpty()) return Refused(name + QStringLiteral(": is empty"));
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return Refused(QStringLiteral("%1: %2: %3")
                           .arg(name, PositionText(bytes, SyntaxErrorIndex(bytes, parseError)),
                                parseError.errorString()));
    if (!document.isObject()) return Refused(name + QStringLiteral(": holds no JSON object"));
    JsonSourceText source = ScanJsonSource(bytes);
    if (const auto& twice = source.KeyTwice)
        return Refused(QStringLiteral("%1: %2: %3 is given twice, first at %4")
                           .arg(name, PositionText(bytes, twice->Second), twice->Path,
                                PositionText(bytes, twice->First)));
    return {document.object(), {}, std::move(source.Numbers)};
}

QByteArray ConfigObjectText(const QJsonObject& file) {
    return OrderedJsonText(file, ConfigKeyOrder);
}

QByteArray ConfigFileText(const GatewayConfig& config, const ConfigFileForm& form) {
    return ConfigObjectText(ConfigToJson(config, form));
}

// The fingerprint is of the object, not of its text: the order keys are written in does
// not count (BackupFingerprint.h).
QByteArray KeptBackupText(const GatewayConfig& config) {
    QJsonObject json = ConfigToJson(config);
    json[QLatin1String(ConfigBackupKey)] = true;
    json[QLatin1String(ConfigFingerprintKey)] = ContentFingerprint(json);
    return ConfigObjectText(json);
}

QString WriteConfigFile(const QString& path, const GatewayConfig& config) {
    return WriteWholeFile(path, ConfigFileText(config));
}

}  // namespace kv
