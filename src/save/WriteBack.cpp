#include "save/WriteBack.h"

#include "config/EepromCodec.h"
#include "console/EepromMode.h"
#include "save/ConsoleWrites.h"
#include "save/GatewayWrites.h"

namespace kv {

namespace {

// The progress of a save: 10 after the Ethernet settings, 5 per edit sequence of blocks 0
// and 1, and per class 5 for its header, 1 per command, and the class's end value.
constexpr int EthernetDone = 10;
constexpr int PortSettingsDone[] = {15, 20};
constexpr int SettingsDone = 25;
constexpr int PollPathsDone = 30;
constexpr int FirstClassHeaderDone = 35;
constexpr int ClassProgressSpan = 15;  // header at +0, end at +10, next class at +15
constexpr int ClassCommandsDone = 10;

int ClassStart(int k) { return FirstClassHeaderDone + ClassProgressSpan * k; }

// The value after a run of the configuration; a save writes no other runs.
int ProgressAfter(const RunPart& part) {
    switch (part.What) {
        case RunPart::PortSettings:
            return PortSettingsDone[part.Index];
        case RunPart::Settings:
            return SettingsDone;
        case RunPart::PollPaths:
            return PollPathsDone;
        case RunPart::Class:
            return ClassStart(part.Index);
        case RunPart::Command:
            return ClassStart(part.Index) + 1 + part.Slot;
        case RunPart::None:
            break;
    }
    return 0;
}

bool InClass(const RunPart& part) {
    return part.What == RunPart::Class || part.What == RunPart::Command;
}

// Whether run i is the last of its class, which the class's end value follows.
bool EndsClass(const std::vector<EepromRun>& runs, size_t i) {
    const RunPart& part = runs[i].Part;
    if (!InClass(part)) return false;
    return i + 1 == runs.size() || runs[i + 1].Part.Index != part.Index ||
           !InClass(runs[i + 1].Part);
}

bool WriteRuns(ConsoleLink& link, const std::vector<EepromRun>& runs, const ProgressFn& progress) {
    RunEditor editor(link);
    for (size_t i = 0; i < runs.size(); ++i) {
        if (!editor.Write(runs[i])) return false;
        ReportProgress(progress, ProgressAfter(runs[i].Part));
        if (EndsClass(runs, i))
            ReportProgress(progress, ClassStart(runs[i].Part.Index) + ClassCommandsDone);
    }
    return true;
}

}  // namespace

WriteResult WriteBack(ConsoleLink& link, const GatewayConfig& config,
                      const ConnectionPaths& pollPaths, const ProgressFn& progress,
                      const GatewayConfig* held) {
    const GatewayWrites all = AllWrites(config, pollPaths);
    // Addresses the Ethernet "Set" refuses are not sent at all.
    if (all.EthernetCommands.isEmpty()) return WriteResult::Timeout;
    const GatewayWrites writes = held ? ChangedWrites(all, *held) : all;
    if (writes.empty()) return WriteResult::Ok;
    // The console may have been left anywhere, even inside the EEPROM editor.
    if (!RecoverConsole(link) || !SendChangingCommands(link, writes.EthernetCommands))
        return WriteResult::Timeout;
    ReportProgress(progress, EthernetDone);
    if (writes.Runs.empty()) return WriteResult::Ok;
    const bool written =
        EnterEepromMode(link) && WriteRuns(link, writes.Runs, progress) && LeaveEepromMode(link);
    return written ? WriteResult::Ok : WriteResult::Timeout;
}

}  // namespace kv
