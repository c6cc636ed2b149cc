#pragma once
// The checks behind the three "Set" buttons of the main window (DeviceNet, COM port,
// Ethernet). They take the texts and list positions as the user entered them, store what
// passes in the model and return the message to show; the CLI's apply uses the same ones.

#include <QString>
#include <QStringView>
#include <optional>

#include "config/GatewayConfig.h"

namespace kv {

inline const char* const SettingErrorTitle = "Error";
inline const char* const NodeIdRefusedText = "Node ID is not supported!(0~63)";
inline const char* const InvalidIpText = "Invalid IP address!";
inline const char* const InvalidGatewayText = "Invalid Gateway address!";
inline const char* const InvalidMaskText = "Invalid Mask address!";
inline const char* const DeviceNetSetText = "Setting Devicenet Parameter Ok";
inline const char* const ComSetText = "Setting COM Parameter Ok";

inline constexpr int HighestNodeId = 63;

// The texts of the DeviceNet baud-rate list, in the order of BaudIndex.
inline constexpr const char* DeviceNetBaudTexts[] = {"125 KBPS", "250 KBPS", "500 KBPS"};
inline constexpr int DeviceNetBaudCount = 3;

// Four dot-separated parts, each a decimal number 0..255 written with digits only.
bool IsValidIpText(QStringView text);
// A valid address as the console writes it: each part in decimal without leading zeros
// ("10.0.0.05" is "10.0.0.5"). A console that reads "05" as octal, or refuses it, would
// otherwise keep another address than the one the user sees.
QString CanonicalIpText(QStringView text);

// The node ID a text stands for (read leniently, halves to the even neighbour), or
// nothing when the number lies outside 0..63.
std::optional<uint8_t> NodeIdFromText(QStringView text);

// The outcome of one "Set": an empty Message means everything was stored.
struct SettingResult {
    QString Message;
    bool ok() const { return Message.isEmpty(); }
};

// DeviceNet: the node ID text and the position chosen in the baud-rate list. Stores
// nothing when either is refused.
SettingResult ApplyDeviceNetSetting(GatewayConfig& config, QStringView nodeIdText,
                                    int baudPosition);

// The positions chosen in the COM panel's lists: port (0 = COM1, 1 = COM2), baud rate
// (into BaudTexts), data bits (0 = 7, 1 = 8), parity (0 none, 1 even, 2 odd), stop bits
// (0 = 1, 1 = 2).
struct ComSettingPositions {
    int Port = 0;
    int Baud = 0;
    int DataBits = 0;
    int Parity = 0;
    int StopBits = 0;
};

// Stores the port's settings and their check byte. The window's lists offer only valid
// positions; a position outside them (from a script) is refused with the field's name.
SettingResult ApplyComSetting(GatewayConfig& config, const ComSettingPositions& positions);

struct EthernetTexts {
    QString Ip;
    QString Gateway;
    QString Mask;
};

struct EthernetSettingResult : SettingResult {
    // How many addresses were stored, in the order IP, gateway, mask.
    int Accepted = 0;
};

// Checks IP, gateway and mask in that order (outer blanks removed) and stores each one
// as soon as it passes; the first refusal stops and keeps what was stored before it.
EthernetSettingResult ApplyEthernetSetting(EthernetParams& params, const EthernetTexts& texts);

}  // namespace kv
