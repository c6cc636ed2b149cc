#include "cli/CliConsole.h"

#include "console/Messages.h"
#include "platform/PortNaming.h"

#include <QRegularExpression>

namespace kv::cli {
namespace {

// "COM3", "com 3" or "3" name COM 3; anything else is taken as a device path.
int ComNumberOf(const QString& argument) {
    static const QRegularExpression comPattern(QStringLiteral("^(?:COM\\s*)?(\\d{1,2})$"),
                                               QRegularExpression::CaseInsensitiveOption);
    const auto match = comPattern.match(argument.trimmed());
    if (!match.hasMatch()) return 0;
    const int number = match.captured(1).toInt();
    return number >= 1 && number <= ComPortCount ? number : -1;
}

}  // namespace

QString OptionValue(const QStringList& args, const QString& option) {
    const qsizetype at = args.indexOf(option);
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();
}

std::unique_ptr<CliConsole> OpenCliConsole(const QString& portArgument, QTextStream& err) {
    if (portArgument.isEmpty()) {
        err << "No port given: use --port COM3, --port 3 or --port /dev/ttyUSB0\n";
        return nullptr;
    }
    auto console = std::make_unique<CliConsole>();
    const int number = ComNumberOf(portArgument);
    if (number < 0) {
        err << "There is no " << portArgument << ": ports are COM 1 to COM " << ComPortCount << "\n";
        return nullptr;
    }
    if (number > 0)
        console->Port.SelectPort(number);
    else
        console->Port.SelectDevice(portArgument);
    const QString name = number > 0 ? QStringLiteral("COM %1").arg(number) : portArgument;

    const PortOpenResult opened = console->Port.Open();
    switch (opened.Error) {
    case PortOpenError::None:
        return console;
    case PortOpenError::InUse:
        err << (number > 0 ? ComOccupiedText(number) : name + QStringLiteral(" has been occupied")) << "\n";
        break;
    case PortOpenError::NotOpened:
        err << (number > 0 ? CantOpenComText(number) : QStringLiteral("Can't open %1!").arg(name)) << "\n";
        break;
    case PortOpenError::Other:
        err << opened.Text << "\n";
        break;
    }
    return nullptr;
}

}  // namespace kv::cli
