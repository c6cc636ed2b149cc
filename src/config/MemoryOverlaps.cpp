#include "config/MemoryOverlaps.h"

#include <algorithm>
#include <array>

#include "config/NumberText.h"
#include "config/WorkingCopy.h"

namespace kv {
namespace {

// The stored commands of one class of the working copy.
template <typename Record>
void AddClassRanges(const Record& record, int classIndex, bool inUse, QList<CommandRange>& ranges) {
    for (int slot = 0; slot < CommandCount(record); ++slot) {
        const ModbusCommand& command = record.Commands[slot];
        if (command.Length <= 0) continue;
        const int first = int(RoundHalfEven(command.MemAddress));
        ranges.append({classIndex, slot, first, first + command.Length - 1, inUse});
    }
}

bool Share(const CommandRange& a, const CommandRange& b) {
    return a.First <= b.Last && b.First <= a.Last;
}

MemoryOverlap OverlapOf(const CommandRange& a, const CommandRange& b) {
    return {a, b, std::max(a.First, b.First), std::min(a.Last, b.Last)};
}

}  // namespace

MemoryLayout FindMemoryLayout(const GatewayConfig& config) {
    MemoryLayout layout;
    for (int i = 0; i < SerialClassCount; ++i) {
        const SerialClassRecord& record = config.EditSerialClasses[i];
        AddClassRanges(record, i, StoredConnectionOn(config, i), layout.Ranges);
    }
    for (int j = 0; j < TcpClassCount; ++j) {
        const TcpClassRecord& record = config.EditTcpClasses[j];
        const int classIndex = SerialClassCount + j;
        AddClassRanges(record, classIndex, StoredConnectionOn(config, classIndex), layout.Ranges);
    }
    for (qsizetype a = 0; a < layout.Ranges.size(); ++a)
        for (qsizetype b = a + 1; b < layout.Ranges.size(); ++b)
            if (Share(layout.Ranges[a], layout.Ranges[b]))
                layout.Overlaps.append(OverlapOf(layout.Ranges[a], layout.Ranges[b]));
    return layout;
}

QString ClassCaption(int classIndex) {
    static const std::array<const char*, ClassIndexCount> captions = {
        "COM1", "COM2", "Server 01", "Server02", "Server 03", "Server 04"};
    return classIndex >= 0 && classIndex < ClassIndexCount
               ? QString::fromLatin1(captions[classIndex])
               : QString();
}

QString CommandName(const CommandRange& range) {
    QString name =
        QStringLiteral("%1 instance %2").arg(ClassCaption(range.ClassIndex)).arg(range.Slot + 1);
    if (!range.ClassInUse) name += QStringLiteral(" (not in use)");
    return name;
}

QString AddressRangeText(int first, int last) {
    return first == last ? QString::number(first) : QStringLiteral("%1..%2").arg(first).arg(last);
}

QString OverlapText(const MemoryOverlap& overlap) {
    return QStringLiteral("%1 and %2 share %3")
        .arg(CommandName(overlap.A), CommandName(overlap.B),
             AddressRangeText(overlap.First, overlap.Last));
}

QString OverlapNote(const GatewayConfig& config, int classIndex, int slot) {
    QStringList others;
    for (const MemoryOverlap& overlap : FindMemoryLayout(config).Overlaps) {
        const auto isStored = [&](const CommandRange& range) {
            return range.ClassIndex == classIndex && range.Slot == slot;
        };
        const CommandRange* other = isStored(overlap.A)   ? &overlap.B
                                    : isStored(overlap.B) ? &overlap.A
                                                          : nullptr;
        if (other)
            others << QStringLiteral("%1 at %2")
                          .arg(CommandName(*other), AddressRangeText(overlap.First, overlap.Last));
    }
    if (others.isEmpty()) return {};
    return QStringLiteral("Shares memory with %1.").arg(others.join(QStringLiteral(", ")));
}

}  // namespace kv
