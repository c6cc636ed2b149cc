#include "save/ApplyConfiguration.h"

#include "config/ConfigJson.h"
#include "console/ReadOut.h"
#include "save/ApplyPlan.h"
#include "save/ConfigChanges.h"
#include "save/SaveConfiguration.h"
#include "save/SaveReports.h"

namespace kv {

namespace {

// What a read-out of the gateway gives after the save wrote `written` with `paths`.
QJsonObject ExpectedReadBack(GatewayConfig written, const ConnectionPaths& paths) {
    written.ConfigMarker = ConfigMarkerValid;
    written.ConnectionPaths = paths;
    return ConfigToJson(written);
}

// Each stage's own progress values mapped onto a part of 0..100.
ProgressFn Stage(const ProgressFn& progress, int from, int to, int first, int last) {
    if (!progress) return {};
    return [=](int value) { progress(from + (value - first) * (to - from) / (last - first)); };
}

QStringList VerifyWritten(ConsoleLink& link, const QJsonObject& expected,
                          const ProgressFn& progress) {
    GatewayConfig reread;
    const ReadOutResult result = ReadGateway(link, reread, progress);
    if (result != ReadOutResult::Ok) return {ReadOutFailureText(result)};
    return JsonDifferences(expected, ConfigToJson(reread));
}

}  // namespace

ApplyOutcome ApplyConfiguration(ConsoleLink& link, const QJsonObject& file,
                                const ApplyOptions& options) {
    ApplyOutcome outcome;
    GatewayConfig read;
    const ReadOutResult readOut =
        ReadGateway(link, read, Stage(options.Progress, 0, 10, 0, ReadOutProgressMaximum));
    if (readOut != ReadOutResult::Ok) {
        outcome.Errors = {ReadOutFailureText(readOut)};
        return outcome;
    }
    ApplyPlan plan = PlanApply(read, file);
    outcome.Warnings = plan.Warnings;
    if (!plan.ok()) {
        outcome.Errors = plan.Errors;
        return outcome;
    }

    if (options.DryRun) {
        outcome.Changes = ConfigChanges(read, AsWritten(plan.Config, plan.PollPaths));
        outcome.Ok = true;
        return outcome;
    }

    const SaveRequest request{plan.PollPaths, options.EdsInfo, options.EdsFolders};
    const SaveOutcome saved =
        SaveConfiguration(link, plan.Config, request, Stage(options.Progress, 10, 80, 10, 130));
    outcome.Written = true;
    if (saved.Status != SaveStatus::Ok) {
        outcome.Errors = {ReportSaveFailure(saved).Text};
        return outcome;
    }
    outcome.EdsPath = saved.EdsPath;
    if (options.Verify)
        outcome.Errors = VerifyWritten(link, ExpectedReadBack(plan.Config, plan.PollPaths),
                                       Stage(options.Progress, 80, 100, 0, ReadOutProgressMaximum));
    outcome.Ok = outcome.Errors.isEmpty();
    return outcome;
}

}  // namespace kv
