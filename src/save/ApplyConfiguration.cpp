#include "save/ApplyConfiguration.h"

#include "config/ConfigJson.h"
#include "console/ReadOut.h"
#include "save/ApplyPlan.h"
#include "save/BackupBeforeWrite.h"
#include "save/ConfigChanges.h"
#include "save/GatewayWrites.h"
#include "save/SaveConfiguration.h"
#include "save/SaveReports.h"

namespace kv {

ReadBack ReadBackAfterSave(ConsoleLink& link, GatewayConfig written, const ConnectionPaths& paths,
                           const ProgressFn& progress) {
    GatewayConfig reread;
    const ReadOutResult result = ReadGateway(link, reread, progress);
    if (result != ReadOutResult::Ok) return {false, ReadOutFailureText(result, link.End()), {}};
    // What the save leaves: the marker set, the poll paths written; the firmware data is the
    // controller's own (an opened file may hold another's).
    written.ConfigMarker = ConfigMarkerValid;
    written.ConnectionPaths = paths;
    written.FirmwareInfo = reread.FirmwareInfo;
    return {true, {}, JsonDifferences(ConfigToJson(written), ConfigToJson(reread))};
}

ApplyOutcome ApplyConfiguration(ConsoleLink& link, const QJsonObject& file,
                                const ApplyOptions& options) {
    ApplyOutcome outcome;
    GatewayConfig read;
    const ReadOutResult readOut =
        ReadGateway(link, read, ProgressStage(options.Progress, 0, 10, 0, ReadOutProgressMaximum));
    if (readOut != ReadOutResult::Ok) {
        outcome.ConsoleFailed = true;
        outcome.NotOurController = readOut == ReadOutResult::UnknownController;
        outcome.Errors = {ReadOutFailureText(readOut, link.End())};
        return outcome;
    }
    ApplyPlan plan = PlanApply(read, file);
    outcome.Warnings = plan.Warnings;
    (options.Strict ? plan.Errors : outcome.Warnings) += plan.Unworkable + plan.Unchecked;
    if (!plan.ok()) {
        outcome.Refused = true;
        outcome.Errors = plan.Errors;
        return outcome;
    }
    outcome.NodeId = QString::number(plan.Config.DeviceNetParams.NodeId);
    outcome.Ip = plan.Config.EthernetParams.Ip;
    outcome.Changes = ConfigChanges(read, AsWritten(plan.Config, plan.PollPaths));

    // The EEPROM wears with each write, and a second apply of a file changes nothing. A dry run
    // says the same of the same bytes.
    const GatewayConfig* held = options.FullWrite ? nullptr : &read;
    outcome.NothingToChange =
        held && ChangedWrites(AllWrites(plan.Config, plan.PollPaths), read).empty();
    if (options.DryRun) {
        outcome.Ok = true;
        return outcome;
    }
    if (!options.BackupFolder.isEmpty() && !outcome.NothingToChange) {
        const KeptBackup kept = KeepBackup(options.BackupFolder, read, options.PortName);
        if (!kept.ok()) {
            outcome.Errors = {kept.Error};
            return outcome;
        }
        outcome.BackupPath = kept.Path;
        if (options.BackupKept) options.BackupKept(kept.Path);
    }

    const SaveRequest request{plan.PollPaths, options.EdsInfo, options.EdsFolders, held};
    const SaveOutcome saved = SaveConfiguration(link, plan.Config, request,
                                                ProgressStage(options.Progress, 10, 80, 10, 130));
    // A refused address stops the save before anything is sent.
    if (saved.Status == SaveStatus::Refused) {
        outcome.Errors = {ReportSaveFailure(saved, link.End()).Text};
        return outcome;
    }
    outcome.Written = link.ChangeSent();
    if (saved.Status == SaveStatus::Timeout) {
        outcome.State = StateAfterEndedWrite(link);
        outcome.ConsoleFailed = true;
        outcome.Errors = {ReportSaveFailure(saved, link.End()).Text};
        return outcome;
    }
    if (outcome.NothingToChange) {
        outcome.EdsPath = saved.EdsPath;
        if (saved.Status != SaveStatus::Ok)
            outcome.Errors = {ReportSaveFailure(saved, link.End()).Text};
        outcome.Ok = outcome.Errors.isEmpty();
        return outcome;
    }
    outcome.State = ApplyState::WrittenNotVerified;
    // The gateway holds the configuration even when its EDS file could not be written: it is
    // verified all the same, so that the state told is what the read-back saw.
    if (saved.Status != SaveStatus::Ok)
        outcome.Errors = {ReportSaveFailure(saved, link.End()).Text};
    outcome.EdsPath = saved.EdsPath;
    if (!options.Verify) {
        outcome.Ok = outcome.Errors.isEmpty();
        return outcome;
    }
    const ReadBack verified =
        ReadBackAfterSave(link, plan.Config, plan.PollPaths,
                          ProgressStage(options.Progress, 80, 100, 0, ReadOutProgressMaximum));
    if (!verified.Read) {
        outcome.ConsoleFailed = true;
        outcome.Errors += verified.ReadFailure;
        return outcome;
    }
    outcome.State =
        verified.Differences.isEmpty() ? ApplyState::WrittenVerified : ApplyState::WrittenDifferent;
    outcome.Errors += verified.Differences;
    outcome.Ok = outcome.Errors.isEmpty();
    return outcome;
}

QString ApplyStateText(const ApplyOutcome& outcome) {
    if (outcome.NothingToChange && outcome.State == ApplyState::NotWritten)
        return QStringLiteral("Nothing to change; nothing was written to the gateway.");
    if (outcome.State == ApplyState::WrittenNotVerified && outcome.ConsoleFailed)
        return QStringLiteral("Written, but not verified: the read-back failed.");
    return ApplyStateText(outcome.State);
}

}  // namespace kv
