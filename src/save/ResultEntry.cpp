#include "save/ResultEntry.h"

#include <QRegularExpression>

namespace kv {

QString OutcomeWord(const OperationOutcome& outcome) {
    switch (outcome.Kind) {
        case OutcomeKind::Succeeded:
            return outcome.State == ApplyState::WrittenDifferent ? QStringLiteral("failed")
                                                                 : QStringLiteral("ok");
        case OutcomeKind::Refused:
            return QStringLiteral("refused");
        case OutcomeKind::Stopped:
            return QStringLiteral("stopped");
        case OutcomeKind::PortNotOpened:
        case OutcomeKind::NoAnswer:
        case OutcomeKind::DeviceLost:
        case OutcomeKind::OutOfTime:
        case OutcomeKind::FileNotWritten:
            break;
    }
    return QStringLiteral("failed");
}

QString StateWord(ApplyState state) {
    switch (state) {
        case ApplyState::NotWritten:
            return QStringLiteral("nothing-written");
        case ApplyState::PartlyWritten:
            return QStringLiteral("partly-written");
        case ApplyState::WrittenNotVerified:
        case ApplyState::WrittenDifferent:
            return QStringLiteral("written");
        case ApplyState::WrittenVerified:
            break;
    }
    return QStringLiteral("written-and-verified");
}

QJsonObject OutcomeEntry(const OperationOutcome& outcome, bool writes) {
    QJsonObject entry{{QStringLiteral("Outcome"), OutcomeWord(outcome)}};
    if (writes) entry.insert(QStringLiteral("State"), StateWord(outcome.State));
    if (!outcome.BackupPath.isEmpty()) entry.insert(QStringLiteral("Backup"), outcome.BackupPath);
    return entry;
}

QJsonArray ChangesEntry(const QList<FieldChange>& changes, const QString& before,
                        const QString& after, ValueTextFn valueText) {
    const auto value = [](const QJsonValue& v) { return v.isUndefined() ? QJsonValue() : v; };
    QJsonArray list;
    for (const FieldChange& change : changes)
        list.append(
            QJsonObject{{QStringLiteral("Path"), change.Path},
                        {before, value(change.Before)},
                        {after, value(change.After)},
                        {before + QStringLiteral("Text"), valueText(change.Path, change.Before)},
                        {after + QStringLiteral("Text"), valueText(change.Path, change.After)}});
    return list;
}

QJsonArray FindingsEntry(const QStringList& lines) {
    // A key path has no blanks: "SerialClasses[0].Commands[1].MemAddress/Length".
    static const QRegularExpression keyPath(QStringLiteral("^([^\\s:]+): (.*)$"),
                                            QRegularExpression::DotMatchesEverythingOption);
    QJsonArray list;
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = keyPath.match(line);
        list.append(
            QJsonObject{{QStringLiteral("Path"), match.hasMatch() ? match.captured(1) : QString()},
                        {QStringLiteral("Message"), match.hasMatch() ? match.captured(2) : line}});
    }
    return list;
}

}  // namespace kv
