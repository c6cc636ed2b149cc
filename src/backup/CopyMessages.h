#pragma once
// What the EEPROM copy window and the CLI tell the user at the end of an import or export.

#include <QString>

#include "backup/EepromCopy.h"
#include "console/MessageKind.h"

namespace kv {

inline const char* const ImportFinishedText = "Import to ini file finished.";
inline const char* const ExportFinishedText = "Export to KV-9052R's EEPROM finished.";
inline const char* const NotCopyableControllerText = "This modules is not 5308RTD!";
inline const char* const FileDataTypeErrorText = "File Data Type Error";

enum class CopyDirection { Import, Export };

struct CopyMessage {
    QString Text;
    QString Title;  // empty: the program's own title
    MessageKind Kind = MessageKind::Error;
};

// The message for an outcome; `path` is the backup file the user chose.
// `end` is the link's End(), which words a failed exchange (ExchangeFailureText).
CopyMessage CopyOutcomeMessage(CopyDirection direction, const CopyOutcome& outcome,
                               const QString& path, const LinkEndState& end = {});

}  // namespace kv
