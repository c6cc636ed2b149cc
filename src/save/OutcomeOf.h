#pragma once
// Every operation's end as one OperationOutcome, made here for all of them: the read-out
// (read, eds, check and diff on a port), the apply and its dry run, the factory reset, the
// EEPROM copy into a backup file and the restore of one. Detail holds the words the user
// reads of what happened today, so the outcome tells what the operation's own text tells.

#include "backup/CopyMessages.h"
#include "backup/RestoreBackup.h"
#include "console/ReadOut.h"
#include "save/ApplyConfiguration.h"
#include "save/OperationOutcome.h"
#include "save/WriteBack.h"

namespace kv {

// A read-out changes nothing: its state is always NotWritten. A controller that is not
// one of ours is refused.
OperationOutcome OutcomeOf(ReadOutResult result, const LinkEndState& end);

// A dry run succeeds with nothing written, its change lines in Detail. A read-back that
// differs leaves Succeeded with WrittenDifferent and the differences in Detail; an EDS file
// that could not be written is FileNotWritten.
OperationOutcome OutcomeOf(const ApplyOutcome& outcome, const LinkEndState& end);

// The factory reset and the write-back, after the end of the exchanges on `link`.
OperationOutcome OutcomeOf(WriteResult result, const ConsoleLink& link,
                           const QString& backupPath = {});

// The copy into the backup file `path` (backup): nothing is written to the gateway.
OperationOutcome OutcomeOf(const CopyOutcome& outcome, const QString& path,
                           const LinkEndState& end);

// The restore of the backup file `path`: a file refused, or a gateway whose configuration
// could not be kept first, is refused with nothing written.
OperationOutcome OutcomeOf(const RestoreOutcome& outcome, const QString& path,
                           const LinkEndState& end);

}  // namespace kv
