#include "save/SaveConfiguration.h"

#include "eds/EdsFile.h"
#include "save/ConsoleWrites.h"
#include "save/CopyMBDataToEEPData.h"
#include "save/WriteBack.h"

namespace kv {

namespace {

constexpr int SaveFinished = 130;

}  // namespace

SaveOutcome SaveConfiguration(ConsoleLink& link, GatewayConfig& config, const SaveRequest& request,
                              const ProgressFn& progress) {
    const QString refusal = EthernetRefusal(config.EthernetParams);
    if (!refusal.isEmpty()) return {SaveStatus::Refused, {}, refusal};
    const WriteResult written = WriteBack(link, config, request.PollPaths, progress);
    if (written != WriteResult::Ok) return {SaveStatus::Timeout, {}, {}};
    const EdsFileResult eds =
        WriteEdsFile(request.EdsFolders, config, request.PollPaths, request.EdsInfo);
    if (!eds.Ok) return {SaveStatus::EdsFileFailed, {}, eds.ErrorText};
    ReportProgress(progress, SaveFinished);
    CopyMBDataToEEPData(config);
    return {SaveStatus::Ok, eds.Path, {}};
}

QString SaveDoneText(const SaveOutcome& outcome) {
    return QStringLiteral("Produce EDS File OK: %1").arg(outcome.EdsPath);
}

}  // namespace kv
