#include "backup/BackupFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringConverter>
#include <QStringDecoder>

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

// One byte pair: blanks removed, one or two hexadecimal digits; anything else is 0.
uint8_t PairValue(QStringView pair) {
    uint8_t value = 0;
    for (const QChar c : pair) {
        if (c == u' ') continue;
        const int digit = HexDigitValue(c);
        if (digit < 0) return 0;
        value = uint8_t(value * 16 + digit);
    }
    return value;
}

// True when every one of the 16 pairs is one or two hexadecimal digits.
bool HoldsSixteenPairs(const QString& value) {
    for (int k = 0; k < BytesPerKey; ++k) {
        const QStringView pair = QStringView(value).mid(3 * k, 2).trimmed();
        if (pair.isEmpty()) return false;
        for (const QChar c : pair)
            if (HexDigitValue(c) < 0) return false;
    }
    return true;
}

// What the file lacks for `block`, in the file's order: a missing section, missing keys,
// values that are not 16 hexadecimal pairs.
void ListLacks(const IniValues& values, int block, QStringList& lacks) {
    const QString section = BlockSection(block);
    if (!values.HasSection(section)) {
        lacks << QStringLiteral("[%1] is missing").arg(section);
        return;
    }
    for (int address = 0; address < BackupBytesOfBlock(block); address += BytesPerKey) {
        const QString key = AddressKey(address);
        if (!values.HasKey(section, key))
            lacks << QStringLiteral("[%1] %2 is missing").arg(section, key);
        else if (!HoldsSixteenPairs(values.Value(section, key)))
            lacks << QStringLiteral("[%1] %2 is not 16 hexadecimal pairs: \"%3\"")
                         .arg(section, key, values.Value(section, key));
    }
}

void DecodeKey(const QString& value, EepromBlock& block, int address) {
    for (int k = 0; k < BytesPerKey; ++k)
        block[address + k] = PairValue(QStringView(value).mid(3 * k, 2));
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
    for (const int block : ConfigBlocks) {
        ListLacks(values, block, result.Lacks);
        for (int address = 0; address < BackupBytesOfBlock(block); address += BytesPerKey) {
            const QString value = values.Value(BlockSection(block), AddressKey(address));
            DecodeKey(value, result.Image.Blocks[block], address);
        }
    }
    return result;
}

BackupReadResult BackupFile::Read(const QString& path) {
    // Read one byte past the limit, so that Decode tells a file too large for a backup.
    QByteArray bytes;
    if (const QString failure = ReadLimitedFile(path, bytes, MaxFileBytes + 1);
        !failure.isEmpty()) {
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
