#include "backup/BackupFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringConverter>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <optional>

#include "config/NumberText.h"
#include "platform/LimitedFile.h"
#include "platform/WholeFile.h"

namespace kv {
namespace {

const QString TypeSection = QStringLiteral("Config_EEPROM");
const QString TypeKey = QStringLiteral("FileType");
const QString TypeMark = QStringLiteral("KV-9052R_EEPROM");
constexpr int BytesPerKey = 16;
const QByteArray LineEnd = QByteArrayLiteral("\r\n");

QString BlockSection(int block) { return QStringLiteral("BLOCK_%1").arg(block); }
QString AddressKey(int address) { return QStringLiteral("Address_%1").arg(address); }

// 16 bytes as upper-case hexadecimal pairs, each followed by a blank: 48 characters.
QByteArray HexPairs(const EepromBlock& block, int address) {
    QByteArray value;
    for (int k = 0; k < BytesPerKey; ++k) value += HexByteText(block[address + k]).toLatin1() + ' ';
    return value;
}

// Section and key names compare without regard to letter case; the first occurrence of
// a key in a section counts, as with the Windows INI functions earlier versions used.
class IniValues {
public:
    explicit IniValues(const QString& text) {
        QString section;
        for (QStringView line : QStringView(text).split(u'\n')) {
            line = line.trimmed();
            if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) continue;
            if (line.startsWith(u'[')) {
                const qsizetype close = line.indexOf(u']');
                section = line.mid(1, close < 0 ? -1 : close - 1).trimmed().toString().toLower();
                sections_.insert(section);
                continue;
            }
            const qsizetype equals = line.indexOf(u'=');
            if (equals < 0) continue;
            const QString name = section + u'\n' + line.left(equals).trimmed().toString().toLower();
            if (!values_.contains(name))
                values_.insert(name, line.mid(equals + 1).trimmed().toString());
        }
    }

    // Empty when the section or the key is missing.
    QString Value(const QString& section, const QString& key) const {
        return values_.value(section.toLower() + u'\n' + key.toLower());
    }
    bool HasSection(const QString& section) const { return sections_.contains(section.toLower()); }
    bool HasKey(const QString& section, const QString& key) const {
        return values_.contains(section.toLower() + u'\n' + key.toLower());
    }

private:
    QHash<QString, QString> values_;
    QSet<QString> sections_;
};

// The value of a hexadecimal digit in either letter case; -1 for any other character.
int HexDigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

// The 16 bytes of a value: exactly 16 tokens of one or two hexadecimal digits, separated by
// blanks (spaces or tabs). Earlier versions wrote two digits and a blank per byte, but read
// by position a single digit shifted every byte after it; anything else is no value.
std::optional<std::array<uint8_t, BytesPerKey>> SixteenBytes(const QString& value) {
    const QString spaced = QString(value).replace(u'\t', u' ');
    const QList<QStringView> tokens = QStringView(spaced).split(u' ', Qt::SkipEmptyParts);
    if (tokens.size() != BytesPerKey) return std::nullopt;
    std::array<uint8_t, BytesPerKey> bytes{};
    for (int k = 0; k < BytesPerKey; ++k) {
        if (tokens[k].size() > 2) return std::nullopt;
        for (const QChar c : tokens[k]) {
            const int digit = HexDigitValue(c);
            if (digit < 0) return std::nullopt;
            bytes[k] = uint8_t(bytes[k] * 16 + digit);
        }
    }
    return bytes;
}

// A value as the problem quotes it: a value of a megabyte is cut.
QString QuotedValue(const QString& value) {
    constexpr int Shown = 64;
    return u'"' + (value.size() > Shown ? value.left(Shown) + QStringLiteral("...") : value) + u'"';
}

// Reads the keys of `block` into `bytes`, and lists what the file lacks for it in the
// file's order: a missing section, missing keys, values that are not 16 bytes. What it
// lacks stays 0.
void DecodeBlock(const IniValues& values, int block, EepromBlock& bytes, QStringList& lacks) {
    const QString section = BlockSection(block);
    if (!values.HasSection(section)) {
        lacks << QStringLiteral("[%1] is missing").arg(section);
        return;
    }
    for (int address = 0; address < BackupBytesOfBlock(block); address += BytesPerKey) {
        const QString key = AddressKey(address);
        const QString value = values.Value(section, key);
        if (!values.HasKey(section, key))
            lacks << QStringLiteral("[%1] %2 is missing").arg(section, key);
        else if (const auto decoded = SixteenBytes(value))
            std::ranges::copy(*decoded, bytes.begin() + address);
        else
            lacks << QStringLiteral("[%1] %2 is not 16 hexadecimal pairs: %3")
                         .arg(section, key, QuotedValue(value));
    }
}

// A control character other than tab, line ends and the page feed marks a binary file.
bool LooksBinary(const QByteArray& bytes) {
    for (const char c : bytes) {
        const auto byte = uint8_t(c);
        if (byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n' && byte != '\f')
            return true;
    }
    return false;
}

BackupReadResult Failure(BackupReadStatus status, const QString& detail) {
    BackupReadResult result;
    result.Status = status;
    result.Detail = detail;
    return result;
}

}  // namespace

int BackupBytesOfBlock(int block) { return block <= 1 ? 32 : EepromBlockSize; }

QByteArray BackupFile::Encode(const EepromImage& image) {
    QByteArray text = '[' + TypeSection.toLatin1() + ']' + LineEnd;
    text += TypeKey.toLatin1() + '=' + TypeMark.toLatin1() + LineEnd;
    for (const int block : ConfigBlocks) {
        text += '[' + BlockSection(block).toLatin1() + ']' + LineEnd;
        for (int address = 0; address < BackupBytesOfBlock(block); address += BytesPerKey)
            text += AddressKey(address).toLatin1() + '=' + HexPairs(image.Blocks[block], address) +
                    LineEnd;
    }
    return text;
}

BackupReadResult BackupFile::Decode(const QByteArray& bytes) {
    if (bytes.size() > MaxFileBytes)
        return Failure(BackupReadStatus::NotText,
                       QStringLiteral("The file is too large for a backup."));
    QString text;
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked);
        text = decoder.decode(bytes);
    } else if (LooksBinary(bytes)) {
        return Failure(BackupReadStatus::NotText, QStringLiteral("The file holds binary data."));
    } else {
        text = QString::fromLatin1(bytes);  // names and values are plain ASCII
    }

    const IniValues values(text);
    if (values.Value(TypeSection, TypeKey).trimmed() != TypeMark)
        return Failure(BackupReadStatus::WrongFileType, {});

    BackupReadResult result;
    for (const int block : ConfigBlocks)
        DecodeBlock(values, block, result.Image.Blocks[block], result.Lacks);
    return result;
}

BackupReadResult BackupFile::Read(const QString& path) {
    // Read one byte past the limit, so that Decode tells a file too large for a backup.
    QByteArray bytes;
    if (const QString failure = ReadInputFile(path, bytes, MaxFileBytes + 1); !failure.isEmpty()) {
        // The reported size only words the refusal; the limit counted what was read.
        if (QFileInfo(path).isFile() && QFileInfo(path).size() > MaxFileBytes)
            return Failure(BackupReadStatus::NotText,
                           QStringLiteral("The file is too large for a backup."));
        return Failure(BackupReadStatus::CannotRead, failure);
    }
    return Decode(bytes);
}

BackupFile::BackupFile(const QString& path) : file_(path) {}

bool BackupFile::Open() {
    // The message's first line names the file; this one says what it is.
    if (const QString refused = TargetNotRegular(file_.Path()); !refused.isEmpty()) {
        errorText_ = file_.Path() + u' ' + refused;
        return false;
    }
    errorText_ = file_.Open();
    return errorText_.isEmpty();
}

bool BackupFile::Commit(const EepromImage& image) {
    errorText_ = file_.Commit(Encode(image));
    return errorText_.isEmpty();
}

}  // namespace kv
