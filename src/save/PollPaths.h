#pragma once
// Which poll connection paths the save window offers. A path names a class, an instance
// and an attribute. The produced (input) path may name a command that reads from a Modbus
// device, the consumed (output) path one that writes; both may name the gateway's own
// parameter object 0x64, instance 1, attributes 1..3 (its Ethernet addresses).

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "config/FieldText.h"
#include "config/GatewayConfig.h"
#include "eds/ConnectionData.h"

namespace kv {

// The path the window falls back to when the read-out path is no longer offered.
inline constexpr PollPath FallbackPollPath = {0x64, 1, 1};

// A part of a path (0 class, 1 instance, 2 attribute) as the window shows the read-out's
// path: "0x65" for a class, "0x01" or "0x0D" for an instance or an attribute.
QString PathPartText(int part, uint8_t value);
// List texts: "ID: 0x64" for a class, "ID: 0x01".."ID: 0x0A" for an instance or attribute.
QString ClassItemText(uint8_t classId);
QString MemberItemText(uint8_t id);
// The number of a list text, read as hexadecimal from its 7th character; 0 for a text
// that is not of the "ID: 0x" form.
uint8_t ItemNumber(const QString& itemText);

// The class list: 0x64 first, then each class in use with a valid command that carries
// data in the direction, in class order.
std::vector<uint8_t> OfferedClasses(const GatewayConfig& config, PollDirection direction);

// The instance list for a class: instance 1 of 0x64, or the valid commands of a Modbus
// class that carry data in the direction. Empty optional for a class the lists do not
// know (the window then leaves its instance list as it is).
std::optional<std::vector<uint8_t>> OfferedInstances(const GatewayConfig& config,
                                                     PollDirection direction, uint8_t classId);

// The attribute list: 1..3 for 0x64, else the one attribute that carries the command's data.
std::vector<uint8_t> OfferedAttributes(const GatewayConfig& config, PollDirection direction,
                                       uint8_t classId, uint8_t instance);

// Every path the lists offer, in list order.
std::vector<PollPath> OfferedPaths(const GatewayConfig& config, PollDirection direction);

// True when the lists offer the path, class, instance and attribute alike.
bool IsPathOffered(const GatewayConfig& config, PollDirection direction, const PollPath& path);

// The path the window starts from: the read-out path when it is still offered, else the
// fallback 0x64/1/1.
PollPath PreselectedPath(const GatewayConfig& config, PollDirection direction,
                         const PollPath& readPath);

// Both paths the window starts from for the read-out paths of `config`: what a save of an
// unchanged configuration writes.
ConnectionPaths PreselectedPaths(const GatewayConfig& config);

}  // namespace kv
