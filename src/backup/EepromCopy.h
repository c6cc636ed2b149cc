#pragma once
// Copying the configuration blocks of the EEPROM (0, 1, 8..11) byte for byte into a
// backup file and back. The caller opens the port; these run the console sequences and
// report an outcome that the window and the CLI turn into the same messages.

#include <QString>
#include <optional>

#include "config/EepromImage.h"
#include "config/GatewayConfig.h"
#include "console/ConsoleLink.h"
#include "console/ReadOut.h"

namespace kv {

enum class CopyResult {
    Ok,
    Timeout,            // a console command failed or was not answered in time
    UnknownController,  // the console belongs to no controller whose blocks are copied
    FileTypeError,      // the chosen file is no backup (type mark, binary, far too large)
    FileError,          // the backup file could not be read or written
    IncompleteFile,     // the backup lacks blocks, keys or byte pairs; nothing was sent
    NoBackupKept,       // the gateway's configuration could not be kept first; nothing was sent
};

struct CopyOutcome {
    CopyResult Result = CopyResult::Ok;
    QString Detail;  // the system's reason for a file error, what is wrong with a file
    // What the gateway holds after a finished copy, which a backup does not carry: read
    // after the copy, when it could be.
    std::optional<EthernetParams> Ethernet = {};
    bool ok() const { return Result == CopyResult::Ok; }
};

// Progress runs from 1 to this value over a whole import or export.
inline constexpr int CopyProgressMaximum = 1500;
// The opening exchange waits as long as a read-out; the block transfers, one short line
// after another, are cut to the second. The link's earlier value is back afterwards.
inline constexpr int16_t HandshakeTimeoutMs = 200;
inline constexpr int16_t BlockTransferTimeoutMs = 50;

// Only the 5308 controllers keep the configuration in these blocks.
bool IsCopyableController(const QString& reply);

// Reads the blocks into `path`. The file is replaced only when every block was read and
// the console left EEPROM mode, so a failure leaves an earlier backup as it was.
CopyOutcome ImportToIni(ConsoleLink& link, const QString& path, const ProgressFn& progress);

// Reads and checks the backup `path` whole, without a gateway: a file that lacks blocks,
// keys or byte pairs is refused with the first of them in Detail, unless `allowIncomplete`,
// when what it lacks is written as 0.
CopyOutcome CheckBackupToWrite(const QString& path, bool allowIncomplete, EepromImage& image);

// Writes the configuration blocks of `image` into the EEPROM.
CopyOutcome WriteBlocksToEeprom(ConsoleLink& link, const EepromImage& image,
                                const ProgressFn& progress);

// The first problems of an incomplete backup, one a line.
inline constexpr int LacksShown = 5;

}  // namespace kv
