// kv9052r-cli: the utility's operations without windows, for scripts and many gateways.

#include <QGuiApplication>
#include <QIODevice>
#include <cstdio>
#include <cstring>
#include <memory>

#include "cli/CommandRegistry.h"
#include "cli/Invocation.h"

namespace {

// The report writes files only: where Qt would keep its run-time files (no XDG_RUNTIME_DIR
// outside a desktop session, as under cron) is no concern of it, and the note about it is
// left off standard error. Every other message goes on as Qt prints it.
QtMessageHandler qtHandler = nullptr;
void LeaveOutRuntimeNote(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        qtHandler(type, context, text);
}

// `report` lays out text and draws: it needs fonts, which only a GUI application has. It
// shows no window, so it runs on the offscreen platform and works without a display; the
// other commands keep the lighter core application.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char* argv[]) {
    if (argc > 1 && std::strcmp(argv[1], "report") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        qtHandler = qInstallMessageHandler(LeaveOutRuntimeNote);
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

// A result that did not reach standard output (a full disk, a closed pipe) leaves a script
// with nothing or half a document: whatever the command did, the run failed.
int StatusAfterOutput(int status, QTextStream& out, QTextStream& err) {
    out.flush();
    const bool written = out.status() == QTextStream::Ok && std::fflush(stdout) == 0;
    if (written) return status;
    err << "Standard output could not be written: " << out.device()->errorString() << "\n";
    return status >= 128 ? status : kv::cli::WorseStatus(status, kv::cli::ExitFailed);
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kv9052r-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KV_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = kv::cli::RunCommandLine(QCoreApplication::arguments(), out, err);
    return StatusAfterOutput(status, out, err);
}
