// kv9052r-cli: the utility's operations without windows, for scripts and many gateways.

#include <QCoreApplication>
#include <cstdio>

#include "cli/CommandRegistry.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kv9052r-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KV_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return kv::cli::RunCommandLine(QCoreApplication::arguments(), out, err);
}
