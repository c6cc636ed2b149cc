#include "modbus/ProbeLink.h"

namespace kv {
namespace {

void Take(ProbeResult& result, const ReplyVerdict& verdict) {
    result.Outcome = verdict.Outcome;
    result.ExceptionCode = verdict.ExceptionCode;
    result.Values = verdict.Values;
    result.Detail = verdict.Detail;
}

}  // namespace

QList<ProbeResult> ProbeCommands(const QList<PlannedProbe>& commands, ProbeLink& link,
                                 const CommandProbed& probed) {
    QList<ProbeResult> results;
    std::optional<ReplyVerdict> rest;  // what every later command gets
    for (const PlannedProbe& command : commands) {
        ProbeResult& result = results.emplace_back(command.Result);
        if (!command.Read) continue;
        if (!rest && !link.IsOpen()) rest = link.Open();
        const ReplyVerdict verdict = rest ? *rest : link.Exchange(*command.Read);
        Take(result, verdict);
        if (verdict.Outcome == ProbeOutcome::Stopped) rest = verdict;
        if (probed) probed();
    }
    return results;
}

}  // namespace kv
