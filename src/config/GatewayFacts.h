#pragma once
// What the utility knows about the gateway itself, in one place: how its application
// object classes are numbered, which EEPROM blocks hold the configuration, and the
// controllers it is built on.

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace kv {

// The gateway's own parameter object (instance 1: the Ethernet addresses; instances 2
// and 3: the COM1 and COM2 settings).
inline constexpr uint8_t ParameterObjectClass = 0x64;
// The Modbus classes: index 0, 1 are the serial classes 0x65, 0x66; index 2..5 the TCP
// connections 0x67..0x6A.
inline constexpr uint8_t FirstSerialClass = 0x65;
inline constexpr uint8_t FirstTcpClass = 0x67;
inline constexpr uint8_t LastClass = 0x6A;
inline constexpr int ClassCount = LastClass - FirstSerialClass + 1;

// The DeviceNet class id of a class index (0x65..0x6A).
constexpr uint8_t ClassIdOf(int classIndex) { return uint8_t(FirstSerialClass + classIndex); }
// The class index of a class id; empty for an id outside 0x65..0x6A.
constexpr std::optional<int> ClassIndexOf(int classId) {
    if (classId < FirstSerialClass || classId > LastClass) return std::nullopt;
    return classId - FirstSerialClass;
}

// The EEPROM blocks that hold the configuration, in the order they are read and written.
inline constexpr std::array<int, 6> ConfigBlocks = {0, 1, 8, 9, 10, 11};

// A controller the gateway is built on. Its console prints the name in the main prompt.
struct ControllerModelInfo {
    const char* Name;
    // The raw EEPROM copy knows where this controller keeps its configuration blocks.
    bool EepromCopyAccepted;
};

// The controllers whose console this program speaks, in the order they are looked for in
// a prompt. KLT-400 keeps its configuration elsewhere than the blocks the copy moves.
inline constexpr std::array<ControllerModelInfo, 3> ControllerModels = {{
    {"vMAR-5308RT_LAN", true},
    {"q5308RT", true},
    {"KLT-400", false},
}};

// The known controller named exactly `name`, if any.
inline std::optional<ControllerModelInfo> ControllerModelNamed(const QString& name) {
    for (const ControllerModelInfo& model : ControllerModels)
        if (name == QLatin1String(model.Name)) return model;
    return std::nullopt;
}

}  // namespace kv
