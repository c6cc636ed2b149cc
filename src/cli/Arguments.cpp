#include "cli/Arguments.h"

#include <QRegularExpression>

#include "platform/PortNaming.h"

namespace kv::cli {

QString OptionValue(const QStringList& args, const QString& option) {
    const qsizetype at = args.indexOf(option);
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();
}

QString FileArgument(const QStringList& args, const QStringList& optionsWithValues) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (optionsWithValues.contains(args[i])) {
            ++i;
            continue;
        }
        if (!args[i].startsWith(u"--")) return args[i];
    }
    return {};
}

int ComNumberOf(const QString& argument) {
    static const QRegularExpression comPattern(QStringLiteral("^(?:COM\\s*)?(\\d{1,2})$"),
                                               QRegularExpression::CaseInsensitiveOption);
    const auto match = comPattern.match(argument.trimmed());
    if (!match.hasMatch()) return 0;
    const int number = match.captured(1).toInt();
    return IsComNumber(number) ? number : -1;
}

}  // namespace kv::cli
