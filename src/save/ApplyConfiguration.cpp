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

QStringList VerifyWritten(ConsoleLink& link, const QJsonObject& expected) {
    const PortOpenResult reopened = link.Port().Open();
    if (!reopened.ok())
        return {QStringLiteral("The gateway could not be read again to verify: %1")
                    .arg(reopened.Text.isEmpty() ? QStringLiteral("the port did not open")
                                                 : reopened.Text)};
    GatewayConfig reread;
    const ReadOutResult result = ReadGateway(link, reread, [](int) {});
    link.Port().Close();
    if (result != ReadOutResult::Ok) return {ReadOutFailureText(result)};
    return JsonDifferences(expected, ConfigToJson(reread));
}

}  // namespace

ApplyOutcome ApplyConfiguration(ConsoleLink& link, const QJsonObject& file,
                                const ApplyOptions& options) {
    ApplyOutcome outcome;
    GatewayConfig read;
    const ReadOutResult readOut = ReadGateway(link, read, [](int) {});
    if (readOut != ReadOutResult::Ok) {
        link.Port().Close();
        outcome.Errors = {ReadOutFailureText(readOut)};
        return outcome;
    }
    ApplyPlan plan = PlanApply(read, file);
    outcome.Warnings = plan.Warnings;
    if (!plan.ok()) {
        link.Port().Close();
        outcome.Errors = plan.Errors;
        return outcome;
    }

    if (options.DryRun) {
        link.Port().Close();
        outcome.Changes = ConfigChanges(read, AsWritten(plan.Config, plan.PollPaths));
        outcome.Ok = true;
        return outcome;
    }

    const SaveRequest request{plan.PollPaths, options.EdsInfo, options.EdsFolders};
    const SaveOutcome saved = SaveConfiguration(link, plan.Config, request, {});
    outcome.Written = true;
    if (saved.Status != SaveStatus::Ok) {
        outcome.Errors = {ReportSaveFailure(saved).Text};
        return outcome;
    }
    outcome.EdsPath = saved.EdsPath;
    if (options.Verify)
        outcome.Errors = VerifyWritten(link, ExpectedReadBack(plan.Config, plan.PollPaths));
    outcome.Ok = outcome.Errors.isEmpty();
    return outcome;
}

}  // namespace kv
