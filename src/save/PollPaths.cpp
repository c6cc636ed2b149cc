#include "save/PollPaths.h"

#include <algorithm>

#include "eds/ClassCommands.h"

namespace kv {

namespace {

const QString ItemLabel = QStringLiteral("ID: ");
const QString ItemPrefix = ItemLabel + QStringLiteral("0x");
constexpr uint8_t EthernetInstance = 1;
constexpr std::array<uint8_t, 3> EthernetAttributes = {1, 2, 3};

bool Contains(const std::vector<uint8_t>& list, uint8_t value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

// The commands that may form a path in the direction: valid and carrying such data.
std::vector<ClassCommand> PathCommands(const GatewayConfig& config, PollDirection direction) {
    std::vector<ClassCommand> commands = CommandsInUse(config);
    std::erase_if(commands, [direction](const ClassCommand& c) {
        return c.Command.Valid == 0 || !CarriesDirection(c.Command.FunctionCode, direction);
    });
    return commands;
}

bool IsHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

}  // namespace

QString PathPartText(int part, uint8_t value) {
    const QString hex = QString::number(value, 16).toUpper();
    return part == 0 ? QStringLiteral("0x") + hex : QStringLiteral("0x0") + hex;
}

QString ClassItemText(uint8_t classId) { return ItemLabel + PathPartText(0, classId); }

QString MemberItemText(uint8_t id) { return ItemLabel + PathPartText(1, id); }

uint8_t ItemNumber(const QString& itemText) {
    if (!itemText.startsWith(ItemPrefix)) return 0;
    const QString digits = itemText.mid(ItemPrefix.size());
    qsizetype end = 0;
    while (end < digits.size() && IsHexDigit(digits[end])) ++end;
    bool ok = false;
    const uint number = digits.left(end).toUInt(&ok, 16);
    return ok && number <= 0xFF ? uint8_t(number) : 0;
}

std::vector<uint8_t> OfferedClasses(const GatewayConfig& config, PollDirection direction) {
    std::vector<uint8_t> classes = {ParameterObjectClass};
    for (const ClassCommand& c : PathCommands(config, direction))
        if (!Contains(classes, c.ClassId)) classes.push_back(c.ClassId);
    return classes;
}

std::optional<std::vector<uint8_t>> OfferedInstances(const GatewayConfig& config,
                                                     PollDirection direction, uint8_t classId) {
    if (classId == ParameterObjectClass) return std::vector<uint8_t>{EthernetInstance};
    if (classId < FirstSerialClass || classId > LastClass) return std::nullopt;
    std::vector<uint8_t> instances;
    for (const ClassCommand& c : PathCommands(config, direction))
        if (c.ClassId == classId) instances.push_back(uint8_t(c.Instance));
    return instances;
}

std::vector<uint8_t> OfferedAttributes(const GatewayConfig& config, PollDirection direction,
                                       uint8_t classId, uint8_t instance) {
    if (classId == ParameterObjectClass)
        return {EthernetAttributes.begin(), EthernetAttributes.end()};
    for (const ClassCommand& c : PathCommands(config, direction))
        if (c.ClassId == classId && c.Instance == instance)
            return {DataAttributeOf(c.Command.FunctionCode)};
    return {};
}

bool IsPathOffered(const GatewayConfig& config, PollDirection direction, const PollPath& path) {
    if (!Contains(OfferedClasses(config, direction), path[0])) return false;
    const auto instances = OfferedInstances(config, direction, path[0]);
    if (!instances || !Contains(*instances, path[1])) return false;
    return Contains(OfferedAttributes(config, direction, path[0], path[1]), path[2]);
}

PollPath PreselectedPath(const GatewayConfig& config, PollDirection direction,
                         const PollPath& readPath) {
    return IsPathOffered(config, direction, readPath) ? readPath : FallbackPollPath;
}

ConnectionPaths PreselectedPaths(const GatewayConfig& config) {
    const ConnectionPaths& read = config.ConnectionPaths;
    return {PreselectedPath(config, PollDirection::Produced, read.PollProduce),
            PreselectedPath(config, PollDirection::Consumed, read.PollConsume)};
}

std::vector<PollPath> OfferedPaths(const GatewayConfig& config, PollDirection direction) {
    std::vector<PollPath> paths;
    for (const uint8_t classId : OfferedClasses(config, direction))
        for (const uint8_t instance :
             OfferedInstances(config, direction, classId).value_or(std::vector<uint8_t>{}))
            for (const uint8_t attribute : OfferedAttributes(config, direction, classId, instance))
                paths.push_back({classId, instance, attribute});
    return paths;
}

}  // namespace kv
