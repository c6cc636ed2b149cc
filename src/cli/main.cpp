// kv9052r-cli: the utility's operations without windows, for scripts and many gateways.

#include <QCoreApplication>
#include <cstdio>

#include "cli/CommandRegistry.h"

namespace {

void PrintUsage(QTextStream& out) {
    out << "Usage: kv9052r-cli COMMAND [OPTIONS]\n\nCommands:\n";
    for (const auto& command : kv::cli::Commands()) out << "  " << command.Usage << "\n";
    out << "\nA port is COM1..COM16 (or just the number) or a device path.\n";
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kv9052r-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args[0] == u"--help" || args[0] == u"-h" || args[0] == u"help") {
        PrintUsage(args.isEmpty() ? err : out);
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const auto& command : kv::cli::Commands())
        if (name == QLatin1String(command.Name)) return command.Run(args, out, err);
    err << "Unknown command \"" << name << "\".\n";
    PrintUsage(err);
    return 2;
}
