#pragma once
// The EEPROM backup file: a plain INI text that holds the configuration blocks 0, 1 and
// 8..11 as lines of 16 hexadecimal byte pairs.
//
//   [Config_EEPROM]
//   FileType=KV-9052R_EEPROM
//   [BLOCK_0]
//   Address_0=01 00 ... (16 pairs, each followed by a blank)
//
// QSettings does not fit this file: it sorts the keys (Address_16 before Address_0 and the
// sections alphabetically), quotes or escapes values it thinks need it and drops the
// trailing blank, and it treats "Config_EEPROM" as a group path. Backups made by earlier
// versions on Windows are read by other programs that expect this exact shape, so the
// file is written and read here.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "config/EepromImage.h"
#include "platform/WholeFile.h"

namespace kv {

// How many bytes of a configuration block the backup holds: 32 of blocks 0 and 1, all
// 256 of blocks 8..11.
int BackupBytesOfBlock(int block);

enum class BackupReadStatus {
    Ok,
    CannotRead,     // the file could not be opened or read; Detail says why
    NotText,        // binary data or far too large for a backup
    WrongFileType,  // the type mark is missing or differs
};

struct BackupReadResult {
    BackupReadStatus Status = BackupReadStatus::Ok;
    QString Detail;     // the system's reason, or what is wrong with the file
    EepromImage Image;  // the configuration blocks; every byte the file lacks is 0
    // What the file lacks ("[BLOCK_8] Address_16 is missing"); empty for a whole file. A
    // file cut short would otherwise wipe the gateway's configuration with zeros.
    QStringList Lacks;
};

class BackupFile {
public:
    // The largest file taken for a backup. A real one is about 6 KB; comments and blank
    // lines may add some, a megabyte is something else.
    static constexpr qint64 MaxFileBytes = 1024 * 1024;

    // The whole file text for the configuration blocks of `image`, lines ending in CR LF.
    static QByteArray Encode(const EepromImage& image);
    // Reads a backup as files of earlier versions hold it: CR LF or LF, a byte-order mark,
    // names in any letter case, blanks around names and values, lower-case hexadecimal. A
    // value is 16 bytes of one or two hexadecimal digits, separated by spaces or tabs; a
    // value of any other shape is listed in Lacks and reads as zeros, as a missing key or
    // block does.
    static BackupReadResult Decode(const QByteArray& bytes);
    static BackupReadResult Read(const QString& path);

    // Writing goes to a temporary file beside `path` that replaces it only on Commit, so
    // an earlier backup stays as it was until a new one is complete.
    explicit BackupFile(const QString& path);
    // Creates the temporary file; false with ErrorText when the folder is not writable.
    bool Open();
    // Writes the blocks and replaces the chosen file; false with ErrorText on failure.
    bool Commit(const EepromImage& image);
    QString ErrorText() const { return errorText_; }

private:
    WholeFileWriter file_;
    QString errorText_;
};

}  // namespace kv
