#include "backup/CopyMessages.h"

#include <QDir>

#include "console/Messages.h"

namespace kv {
namespace {

const QString ErrorTitle = QStringLiteral("Error");

QString FileErrorText(CopyDirection direction, const QString& path, const QString& reason) {
    const QString verb =
        direction == CopyDirection::Import ? QStringLiteral("write") : QStringLiteral("read");
    return QStringLiteral("Can't %1 the backup file %2.\n%3")
        .arg(verb, QDir::toNativeSeparators(path), reason);
}

// A backup holds the EEPROM's blocks only; users who restore one expect the address it was
// made at, so the end of every copy says what the gateway answers on.
QString EthernetNotInBackupText(const std::optional<EthernetParams>& ethernet) {
    const QString notPart =
        QStringLiteral("The Ethernet settings are not part of an EEPROM backup");
    if (!ethernet) return notPart + QStringLiteral(", and the gateway's could not be read.");
    return notPart + QStringLiteral("; the gateway holds IP address %1, mask %2, gateway %3.")
                         .arg(ethernet->Ip, ethernet->Mask, ethernet->Gateway);
}

}  // namespace

CopyMessage CopyOutcomeMessage(CopyDirection direction, const CopyOutcome& outcome,
                               const QString& path, const LinkEndState& end) {
    switch (outcome.Result) {
        case CopyResult::Ok:
            return {QString::fromLatin1(direction == CopyDirection::Import ? ImportFinishedText
                                                                           : ExportFinishedText) +
                        u'\n' + EthernetNotInBackupText(outcome.Ethernet),
                    {},
                    MessageKind::Information};
        case CopyResult::Timeout:
            return {ExchangeFailureText(end), ErrorTitle};
        case CopyResult::UnknownController:
            return {NotCopyableControllerText, ErrorTitle};
        case CopyResult::FileTypeError: {
            // A wrong type mark says no more; a binary or oversized file says what it is.
            const QString text =
                outcome.Detail.isEmpty()
                    ? QString(FileDataTypeErrorText)
                    : QStringLiteral("%1\n%2").arg(FileDataTypeErrorText, outcome.Detail);
            return {text, ErrorTitle};
        }
        case CopyResult::FileError:
            return {FileErrorText(direction, path, outcome.Detail), ErrorTitle};
        case CopyResult::NoBackupKept:
            return {outcome.Detail + QStringLiteral("\nNothing was written."), ErrorTitle};
        case CopyResult::IncompleteFile:
            return {QStringLiteral("The file lacks:\n%1\nNothing was written.").arg(outcome.Detail),
                    ErrorTitle};
    }
    return {ExchangeFailureText(end), ErrorTitle};
}

}  // namespace kv
