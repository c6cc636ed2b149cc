#pragma once
// The configuration as a JSON object, for scripts: `read --json` prints it and `apply`
// merges a file of the same shape into a configuration read from the gateway.
//
// Keys are the model's field names, after "Format": DeviceNetParams {NodeId, BaudIndex},
// FirmwareInfo {Major, Minor, Year, Month, Day}, ConfigMarker, ComBaudIndex [2], ConnectionPaths
// {PollProduce [3], PollConsume [3]}, EthernetParams {Ip, Mask, Gateway}, SerialClasses [2]
// and TcpClasses [4] with their class attributes and `Commands`, the stored commands
// (slots 0 .. CmdCount-1, never more than the class's slots). Files are written in this
// order (ConfigKeyOrder); a reader takes the keys in any order.

#include <QJsonObject>
#include <QStringList>

#include "config/ConfigText.h"
#include "config/GatewayConfig.h"
#include "config/JsonSourceText.h"

namespace kv {

// What the "Format" key of a written file says. A file without the key is read alike.
inline constexpr const char* ConfigFormatName = "kv9052r-configuration/1";

// A text people write into a file about it ("Comment": "Pump station north, line 2"): read
// and kept by the tools that rewrite a file, shown in its report, never sent to a gateway.
inline constexpr const char* ConfigCommentKey = "Comment";

// The key that marks a configuration the program kept as a backup before a write
// ("Backup": true): what the gateway held, which `apply` writes back as it was read when
// the fingerprint under ConfigFingerprintKey matches (BackupFingerprint.h).
inline constexpr const char* ConfigBackupKey = "Backup";
inline constexpr const char* ConfigFingerprintKey = "Fingerprint";
// The firmware data a file holds, to show which firmware it was read from; fields that are
// missing or no whole number within their width stay 0. A write never takes them from a file.
FirmwareInfo FirmwareInfoOf(const QJsonObject& file);

// How a configuration is written: `Texts` gives a list field (BaudIndex, Parity, ConnMode,
// ConnValid, FunctionCode) as its list entry's text where it has one ("EVEN"), else as its
// number; without `Derived`, the fields the gateway derives (FirmwareInfo, ConfigMarker,
// PortChecksum, ComBaudIndex) are left out. Either form reads back to the same configuration.
struct ConfigFileForm {
    bool Texts = false;
    bool Derived = true;
};

QJsonObject ConfigToJson(const GatewayConfig& config, const ConfigFileForm& form = {});

// The form a file is written in, so that a tool that rewrites part of it writes that part
// alike: Texts when it gives any list field as a text. Derived stays: no part a tool
// rewrites holds a derived field.
ConfigFileForm FormOfFile(const QJsonObject& file);

// The keys a configuration's object may hold, in the order files are written, by the key that
// holds the object: "" the file itself (Format, Comment, $schema, Backup, Fingerprint, then the
// model's keys as above), "DeviceNetParams", "FirmwareInfo", "ConnectionPaths",
// "EthernetParams", "SerialClasses" and "TcpClasses" (a class), "Commands" (a command).
QStringList ConfigKeyOrder(const QString& holderKey);

// Merges `file` into `config`. Objects merge key by key: a key the file leaves out keeps
// the configuration's value. Classes are matched by position; a list may name fewer
// classes than there are. A `Commands` list replaces the class's commands: it sets
// CmdCount to its length and clears the slots after it. Each listed command needs NetId,
// FunctionCode, MemAddress, StartAddress and Length; Valid may be left out and is then 1.
//
// What the gateway derives itself is accepted in the file but never taken from it:
// FirmwareInfo and ConfigMarker (the controller's), PortChecksum (recomputed whenever a
// port field of that class is given) and ComBaudIndex (it follows a given Baud, which
// must be one of the offered rates).
//
// Every wrong JSON type, non-whole number, number outside the field's EEPROM width,
// unknown key or list that is too long or too short is added to `errors` as
// "<key path>: <reason>", e.g. "SerialClasses[0].Commands[2].Length: ...". When there is
// any, `config` is left exactly as it was and the result is false. A refused number is
// quoted as `written` gives it, and a range named is the field's own where the checks give
// it one ("BaudIndex: must lie in 0..2, not 300").
//
// Only the stored widths are checked here; the value rules of the windows (node ID
// 0..63, valid IP texts, command fields) are for the caller to apply.
//
// A field shown as a list in the windows (BaudIndex, Parity, ConnMode, ConnValid,
// FunctionCode) may also be given by the text of its list entry ("EVEN", "500 KBPS"),
// outer blanks and letter case aside, and a function code as "3", "FC03", "fc 3" or "0x03"
// (FunctionCodeOfText). "Comment" and "$schema" must be texts and are not merged.
bool MergeConfigJson(const QJsonObject& file, GatewayConfig& config, QStringList& errors,
                     const WrittenNumbers& written = {});

// The same merge, but every value that passes is taken even when others are refused, so
// that the value checks can run on the rest and all problems are reported in one run.
GatewayConfig MergeConfigJsonKeepingGood(const QJsonObject& file, const GatewayConfig& config,
                                         QStringList& errors, const WrittenNumbers& written = {});

}  // namespace kv
