#include "cli/CliConsole.h"

#include "cli/Invocation.h"
#include "cli/PortArguments.h"
#include "cli/TraceFile.h"
#include "console/Messages.h"
#include "console/ReadOut.h"
#include "platform/PortHolder.h"
#include "platform/PortNaming.h"
#include "save/BackupBeforeWrite.h"
#include "save/OutcomeOf.h"

namespace kv::cli {
namespace {

// The windows' words, with the port named where they give the system's reason alone (the
// message box of a window says which port it tried; a line of a many-port run would not)
// and with the reason added where they say only "Can't open COM n!". A device path has no
// COM number; its messages name the path where the windows name "COM n".
QString OpenFailureText(const PortOpenResult& opened, int number, const QString& device) {
    if (opened.Error == PortOpenError::InUse) {
        const QString occupied =
            number > 0 ? ComOccupiedText(number) : device + QStringLiteral(" has been occupied");
        const QString holder = number > 0 ? ComPortHolderText(number) : PortHolderText(device);
        return holder.isEmpty() ? occupied : occupied + u'\n' + holder;
    }
    // A network port's reasons say what could not be reached, in the program's own words.
    if (opened.Worded) return opened.Text;
    const QString cantOpen =
        number > 0 ? CantOpenComText(number) : QStringLiteral("Can't open %1!").arg(device);
    return opened.Text.isEmpty() ? cantOpen : cantOpen + u'\n' + opened.Text;
}

}  // namespace

CliConsole::CliConsole(const QString& portName, const ConsoleSettings& settings)
    : PortName(portName), trace_(settings.Trace) {
    Link.Stop = &StopOnSignal::Request();
    Link.UserReplyTimeoutMs = settings.UserReplyTimeoutMs;
}

CliConsole::~CliConsole() {
    // The port closes before the trace is handed on; it is made into text only for --trace.
    Guard.reset();
    if (trace_.Wanted()) trace_.Add(PortName, Link.Trace.Text());
}

void CliConsole::PrintFailure(QTextStream& err, const QString& failure) const {
    if (Link.End().Kind == LinkEnd::Stopped) {
        err << StoppedText() << "\n";
        return;
    }
    err << failure << "\n";
    // A port that went away (a server that ended the connection) is no silent gateway.
    const bool silent = Link.Trace.HeardNothing() && Port.LostReason().isEmpty();
    const int number = ComNumberOf(PortName);
    const QString details = FailureDetails(silent, number > 0 ? ComPortText(number) : PortName,
                                           Link.Trace.LastExchange());
    if (!details.isEmpty()) err << details << "\n";
}

std::unique_ptr<CliConsole> OpenCliConsole(const QString& portArgument,
                                           const ConsoleSettings& settings, QTextStream& err) {
    if (portArgument.isEmpty()) {
        NoPortGiven(err);
        return nullptr;
    }
    auto console = std::make_unique<CliConsole>(portArgument, settings);
    const int number = ComNumberOf(portArgument);
    if (number < 0) {
        err << "There is no " << portArgument << ": ports are COM 1 to COM " << ComPortCount
            << "\n";
        return nullptr;
    }
    if (number > 0)
        console->Port.SelectPort(number);
    else
        console->Port.SelectDevice(portArgument);

    console->Guard = std::make_unique<PortGuard>(console->Port);
    const PortOpenResult opened = console->Guard->Opened();
    if (opened.ok()) return console;
    err << OpenFailureText(opened, number, portArgument) << "\n";
    return nullptr;
}

bool ReadCliGateway(CliConsole& console, GatewayConfig& config, QTextStream& err,
                    const ProgressFn& progress) {
    const ReadOutResult result = ReadGateway(console.Link, config, progress);
    if (result == ReadOutResult::Ok) return true;
    console.PrintFailure(err, ReadOutFailureText(result, console.Link.End()));
    return false;
}

std::unique_ptr<CliConsole> ReadPortGateway(PortWork& work, GatewayConfig& config) {
    auto console = OpenCliConsole(work.Port, work.Console, work.Err);
    if (!console) return nullptr;
    const ReadOutResult result = ReadGateway(
        console->Link, config, work.Report(QStringLiteral("reading"), ReadOutProgressMaximum));
    if (result == ReadOutResult::Ok) return console;
    work.Outcome = OutcomeOf(result, console->Link.End());
    console->PrintFailure(work.Err, work.Outcome->Detail);
    return nullptr;
}

int PrintWriteState(const PortWork& work, ApplyState state, const QString& backup,
                    const QString& stateText) {
    work.Err << (stateText.isEmpty() ? ApplyStateText(state) : stateText) << "\n";
    if (state == ApplyState::PartlyWritten && !backup.isEmpty())
        work.Err << RestoreFromBackupText(backup, work.Port) << "\n";
    return ExitFailed;
}

}  // namespace kv::cli
