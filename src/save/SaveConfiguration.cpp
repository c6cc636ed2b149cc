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
    // The model then holds the addresses as the gateway and the EDS file get them.
    EthernetParams checked;
    const EthernetSettingResult ethernet = CheckEthernetSettings(config.EthernetParams, checked);
    if (!ethernet.ok()) return {SaveStatus::Refused, {}, ethernet.Message};
    config.EthernetParams = checked;
    const WriteResult written = WriteBack(link, config, request.PollPaths, progress, request.Held);
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
