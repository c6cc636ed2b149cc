// `backup --port P FILE.ini` and `restore --port P FILE.ini`: the EEPROM copy of the
// window "Import/Export EEPROM", with the same sequences and messages.

#include <unistd.h>

#include <cstdio>

#include "backup/CopyMessages.h"
#include "backup/EepromCopy.h"
#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"

namespace kv::cli {
namespace {

// A percentage that rewrites itself on a terminal; nothing when the output is a file.
class TerminalProgress {
public:
    TerminalProgress(QTextStream& err, const QString& label)
        : err_(err), label_(label), shown_(isatty(fileno(stderr)) != 0) {}
    ~TerminalProgress() {
        if (shown_ && lastPercent_ >= 0) err_ << "\n" << Qt::flush;
    }
    void operator()(int value) {
        const int percent = value * 100 / CopyProgressMaximum;
        if (!shown_ || percent == lastPercent_) return;
        lastPercent_ = percent;
        err_ << "\r" << label_ << " " << percent << "%" << Qt::flush;
    }

private:
    QTextStream& err_;
    QString label_;
    bool shown_;
    int lastPercent_ = -1;
};

using CopyFn = CopyOutcome (*)(ConsoleLink&, const QString&, const ProgressFn&);

int RunCopy(CopyDirection direction, CopyFn copy, const QString& usage, const QStringList& args,
            QTextStream& out, QTextStream& err) {
    const QString path = FileArgument(args, {QStringLiteral("--port")});
    if (path.isEmpty()) {
        err << "Usage: kv9052r-cli " << usage << "\n";
        return 2;
    }
    auto console = OpenCliConsole(OptionValue(args, QStringLiteral("--port")), err);
    if (!console) return 1;

    CopyOutcome outcome;
    {
        TerminalProgress progress(err, direction == CopyDirection::Import
                                           ? QStringLiteral("Reading the EEPROM")
                                           : QStringLiteral("Writing the EEPROM"));
        outcome = copy(console->Link, path, [&progress](int value) { progress(value); });
    }
    console.reset();  // frees the port for other programs while the output is made
    const CopyMessage message = CopyOutcomeMessage(direction, outcome, path);
    (outcome.ok() ? out : err) << message.Text << "\n";
    return outcome.ok() ? 0 : 1;
}

const char* const BackupUsage = "backup --port P FILE.ini";
const char* const RestoreUsage = "restore --port P FILE.ini";

int RunBackup(const QStringList& args, QTextStream& out, QTextStream& err) {
    return RunCopy(CopyDirection::Import, ImportToIni, BackupUsage, args, out, err);
}

int RunRestore(const QStringList& args, QTextStream& out, QTextStream& err) {
    return RunCopy(CopyDirection::Export, ExportToEeprom, RestoreUsage, args, out, err);
}

const bool backupRegistered = RegisterCommand({"backup", BackupUsage, RunBackup});
const bool restoreRegistered = RegisterCommand({"restore", RestoreUsage, RunRestore});

}  // namespace
}  // namespace kv::cli
