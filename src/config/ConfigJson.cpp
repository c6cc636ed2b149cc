#include "config/ConfigJson.h"

#include <QJsonArray>
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <type_traits>
#include <variant>
#include <vector>

#include "config/BaudTexts.h"
#include "config/EnumeratedNames.h"
#include "config/NumberText.h"
#include "config/ParameterChecks.h"
#include "config/PortChecksum.h"

namespace kv {
namespace {

constexpr double ByteMax = 255;
constexpr double Word16Max = 65535;
constexpr double Word32Max = 4294967295.0;

// One whole-number field of a record, the largest value its EEPROM bytes hold and
// whether a file may set it (the firmware data and check byte belong to the gateway).
template <typename Record>
struct NumberField {
    const char* Name;
    std::variant<uint8_t Record::*, int32_t Record::*, double Record::*> Member;
    double Max;
    bool TakenFromFile = true;
    bool (*Accepts)(double) = nullptr;  // a rule beyond the width, with its reason
    const char* Rule = nullptr;
};

template <typename Record>
using FieldList = std::vector<NumberField<Record>>;

bool IsOfferedBaud(double baud) { return BaudIndexOf(baud) >= 0; }

const FieldList<DeviceNetParams>& DeviceNetFields() {
    static const FieldList<DeviceNetParams> fields = {
        {"NodeId", &DeviceNetParams::NodeId, ByteMax},
        {"BaudIndex", &DeviceNetParams::BaudIndex, ByteMax}};
    return fields;
}

const FieldList<FirmwareInfo>& FirmwareFields() {
    static const FieldList<FirmwareInfo> fields = {{"Major", &FirmwareInfo::Major, ByteMax, false},
                                                   {"Minor", &FirmwareInfo::Minor, ByteMax, false},
                                                   {"Year", &FirmwareInfo::Year, Word16Max, false},
                                                   {"Month", &FirmwareInfo::Month, ByteMax, false},
                                                   {"Day", &FirmwareInfo::Day, ByteMax, false}};
    return fields;
}

const FieldList<SerialClassRecord>& SerialFields() {
    using R = SerialClassRecord;
    static const FieldList<R> fields = {
        {"ConnMode", &R::ConnMode, ByteMax},
        // The windows store a time-out past 65535 as 0; a file's is refused, never replaced.
        {"CmdTimeout", &R::CmdTimeout, Word16Max},
        {"CmdCount", &R::CmdCount, SerialCommandSlots},
        {"Baud", &R::Baud, Word32Max, true, IsOfferedBaud,
         "must be one of 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200"},
        {"DataBits", &R::DataBits, ByteMax},
        {"Parity", &R::Parity, ByteMax},
        {"StopBits", &R::StopBits, ByteMax},
        {"PortChecksum", &R::PortChecksum, ByteMax, false}};
    return fields;
}

const FieldList<TcpClassRecord>& TcpFields() {
    using R = TcpClassRecord;
    static const FieldList<R> fields = {{"ConnValid", &R::ConnValid, ByteMax},
                                        {"ConnTimeout", &R::ConnTimeout, Word32Max},
                                        {"RetryConnTimeout", &R::RetryConnTimeout, Word32Max},
                                        {"CmdTimeout", &R::CmdTimeout, Word32Max},
                                        {"CmdCount", &R::CmdCount, TcpCommandSlots}};
    return fields;
}

const FieldList<ModbusCommand>& CommandFields() {
    using R = ModbusCommand;
    static const FieldList<R> fields = {{"Valid", &R::Valid, ByteMax},
                                        {"NetId", &R::NetId, ByteMax},
                                        {"FunctionCode", &R::FunctionCode, ByteMax},
                                        {"MemAddress", &R::MemAddress, Word16Max},
                                        {"StartAddress", &R::StartAddress, Word16Max},
                                        {"Length", &R::Length, Word16Max}};
    return fields;
}

const QLatin1String FormatKey("Format");
const QLatin1String CommentKey(ConfigCommentKey);
const QLatin1String BackupKey(ConfigBackupKey);
const QLatin1String FingerprintKey(ConfigFingerprintKey);
const QLatin1String SchemaKey("$schema");
const QLatin1String DeviceNetKey("DeviceNetParams");
const QLatin1String FirmwareKey("FirmwareInfo");
const QLatin1String MarkerKey("ConfigMarker");
const QLatin1String ComBaudKey("ComBaudIndex");
const QLatin1String PathsKey("ConnectionPaths");
const QLatin1String ProduceKey("PollProduce");
const QLatin1String ConsumeKey("PollConsume");
const QLatin1String EthernetKey("EthernetParams");
const QLatin1String IpKey("Ip");
const QLatin1String MaskKey("Mask");
const QLatin1String GatewayKey("Gateway");
const QLatin1String SerialKey("SerialClasses");
const QLatin1String TcpKey("TcpClasses");
const QLatin1String ServerIpKey("ServerIp");
const QLatin1String CommandsKey("Commands");
const QLatin1String CmdCountKey("CmdCount");

// ---- configuration to JSON ----

QJsonValue JsonNumber(double value) {
    const bool whole = std::trunc(value) == value && std::fabs(value) < 9.0e15;
    return whole ? QJsonValue(static_cast<qint64>(value)) : QJsonValue(value);
}

// A list field's value as its entry's text with `form.Texts`, when the list has such an entry.
QJsonValue FieldValue(QLatin1String key, double value, const ConfigFileForm& form) {
    if (form.Texts)
        if (const auto text = EntryTextOf(QString(key), value)) return *text;
    return JsonNumber(value);
}

// The fields in their list's order; without `form.Derived`, none the gateway derives.
template <typename Record>
QJsonObject FieldsToJson(const Record& record, const FieldList<Record>& fields,
                         const ConfigFileForm& form) {
    QJsonObject object;
    for (const auto& field : fields) {
        if (!field.TakenFromFile && !form.Derived) continue;
        const QLatin1String key(field.Name);
        std::visit([&](auto member) { object[key] = FieldValue(key, record.*member, form); },
                   field.Member);
    }
    return object;
}

template <std::size_t N>
QJsonArray ByteListToJson(const std::array<uint8_t, N>& bytes) {
    QJsonArray list;
    for (uint8_t byte : bytes) list.append(int(byte));
    return list;
}

// The stored commands: slots 0 .. CmdCount-1, as many as the class has slots.
template <std::size_t Slots>
QJsonArray CommandsToJson(const std::array<ModbusCommand, Slots>& commands, int cmdCount,
                          const ConfigFileForm& form) {
    QJsonArray list;
    const int count = std::min<int>(cmdCount, Slots);
    for (int slot = 0; slot < count; ++slot)
        list.append(FieldsToJson(commands[slot], CommandFields(), form));
    return list;
}

// ---- JSON into the configuration ----

QString KeyPath(const QString& path, QLatin1String key) {
    return path.isEmpty() ? QString(key) : path + u'.' + key;
}

QString IndexPath(const QString& path, qsizetype index) {
    return path + u'[' + QString::number(index) + u']';
}

// Collects what is wrong with a file, each reason under the key path it concerns.
// A number in a reason is quoted as the file wrote it.
class MergeErrors {
public:
    MergeErrors(QStringList& errors, const WrittenNumbers& written)
        : errors_(errors), written_(written), before_(errors.size()) {}
    void Add(const QString& path, const QString& reason) {
        errors_.append(path + QStringLiteral(": ") + reason);
    }
    QString Written(const QString& path, double value) const {
        return NumberAsWritten(written_, path, value);
    }
    bool Any() const { return errors_.size() > before_; }

private:
    QStringList& errors_;
    const WrittenNumbers& written_;
    qsizetype before_;
};

std::optional<QJsonObject> ObjectAt(const QJsonValue& value, const QString& path,
                                    MergeErrors& errors) {
    if (value.isObject()) return value.toObject();
    errors.Add(path, QStringLiteral("must be an object"));
    return std::nullopt;
}

std::optional<QJsonArray> ListAt(const QJsonValue& value, const QString& path,
                                 MergeErrors& errors) {
    if (value.isArray()) return value.toArray();
    errors.Add(path, QStringLiteral("must be a list"));
    return std::nullopt;
}

// The highest value a message names for a field: its own where the checks hold one (the
// node IDs, the entries of a list counted from 0), else what its EEPROM bytes hold. Values
// between the two pass here: the checks refuse them, or pass them in a kept backup.
double HighestNamed(QLatin1String key, double max) {
    if (key == QLatin1String("NodeId")) return HighestNodeId;
    const auto* entries = NamedValuesOf(QString(key));
    if (!entries) return max;
    for (int i = 0; i < int(entries->size()); ++i)
        if ((*entries)[size_t(i)].second != i) return max;
    return double(entries->size() - 1);
}

std::optional<double> WholeNumberAt(const QJsonValue& value, const QString& path, double max,
                                    MergeErrors& errors, double highestNamed = -1) {
    if (!value.isDouble()) {
        errors.Add(path, QStringLiteral("must be a number"));
        return std::nullopt;
    }
    const double number = value.toDouble();
    if (std::trunc(number) != number) {
        errors.Add(
            path,
            QStringLiteral("must be a whole number, not %1").arg(errors.Written(path, number)));
        return std::nullopt;
    }
    if (number < 0 || number > max) {
        errors.Add(path, QStringLiteral("must lie in 0..%1, not %2")
                             .arg(JsonNumberText(highestNamed >= 0 ? highestNamed : max),
                                  errors.Written(path, number)));
        return std::nullopt;
    }
    return number;
}

// A list field given as a text: its entry's text, or for FunctionCode also the code as
// people write it ("FC03", "0x03").
std::optional<double> TextNumberAt(const QString& text, QLatin1String key, const QString& path,
                                   double max, const std::vector<NamedValue>& names,
                                   MergeErrors& errors) {
    const auto number = ListValueOfText(QString(key), text);
    if (!number) {
        errors.Add(
            path,
            QStringLiteral("unknown name \"%1\"; the names are %2").arg(text, NamesText(names)));
        return std::nullopt;
    }
    if (*number < 0 || *number > max) {
        errors.Add(path, QStringLiteral("must lie in 0..%1, not \"%2\"")
                             .arg(JsonNumberText(HighestNamed(key, max)), text));
        return std::nullopt;
    }
    return double(*number);
}

template <typename Record>
QStringList NamesOf(const FieldList<Record>& fields) {
    QStringList names;
    for (const auto& field : fields) names.append(QLatin1String(field.Name));
    return names;
}

void ReportUnknownKeys(const QJsonObject& object, const QString& path, const QStringList& known,
                       MergeErrors& errors) {
    for (const QString& key : object.keys()) {
        // An empty key is shown as "", else it would vanish from its path.
        const QString shown = key.isEmpty() ? QStringLiteral("\"\"") : key;
        if (!known.contains(key))
            errors.Add(path.isEmpty() ? shown : path + u'.' + shown, QStringLiteral("unknown key"));
    }
}

template <typename Record>
void MergeFields(const QJsonObject& object, const FieldList<Record>& fields, const QString& path,
                 Record& record, MergeErrors& errors) {
    for (const auto& field : fields) {
        const QLatin1String key(field.Name);
        if (!field.TakenFromFile || !object.contains(key)) continue;
        const QString fieldPath = KeyPath(path, key);
        const QJsonValue given = object.value(key);
        const auto* names = NamedValuesOf(QString(key));
        std::optional<double> number;
        if (names && given.isString()) {
            number = TextNumberAt(given.toString(), key, fieldPath, field.Max, *names, errors);
        } else {
            number =
                WholeNumberAt(given, fieldPath, field.Max, errors, HighestNamed(key, field.Max));
        }
        if (!number) continue;
        if (field.Accepts && !field.Accepts(*number)) {
            errors.Add(fieldPath, QLatin1String(field.Rule));
            continue;
        }
        std::visit(
            [&](auto member) {
                using Value = std::remove_reference_t<decltype(record.*member)>;
                record.*member = static_cast<Value>(*number);
            },
            field.Member);
    }
}

template <std::size_t N>
void MergeByteList(const QJsonValue& value, const QString& path, std::array<uint8_t, N>& bytes,
                   MergeErrors& errors) {
    const auto list = ListAt(value, path, errors);
    if (!list) return;
    if (list->size() != qsizetype(N)) {
        errors.Add(path, QStringLiteral("must list %1 numbers, not %2").arg(N).arg(list->size()));
        return;
    }
    for (qsizetype i = 0; i < list->size(); ++i)
        if (const auto number = WholeNumberAt(list->at(i), IndexPath(path, i), ByteMax, errors))
            bytes[i] = static_cast<uint8_t>(*number);
}

// A server's address as its four numbers or as the text "192.168.0.10".
void MergeServerIp(const QJsonValue& value, const QString& path, std::array<uint8_t, 4>& ip,
                   MergeErrors& errors) {
    if (!value.isString()) return MergeByteList(value, path, ip, errors);
    const QStringList parts = value.toString().split(u'.');
    std::array<uint8_t, 4> read{};
    bool valid = parts.size() == qsizetype(read.size());
    for (qsizetype i = 0; valid && i < parts.size(); ++i) {
        const auto part = ReadDecimalByte(parts[i]);
        valid = part.has_value();
        read[size_t(i)] = part.value_or(0);
    }
    if (valid) {
        ip = read;
        return;
    }
    errors.Add(path, QStringLiteral("must be an address such as 192.168.0.10 (four numbers "
                                    "0..255), not \"%1\"")
                         .arg(value.toString()));
}

void MergeCommand(const QJsonValue& value, const QString& path, ModbusCommand& command,
                  MergeErrors& errors) {
    const auto object = ObjectAt(value, path, errors);
    if (!object) return;
    ReportUnknownKeys(*object, path, ConfigKeyOrder(CommandsKey), errors);
    for (const auto& field : CommandFields()) {
        const QLatin1String key(field.Name);
        if (key != QLatin1String("Valid") && !object->contains(key))
            errors.Add(KeyPath(path, key), QStringLiteral("missing"));
    }
    command.Valid = 1;
    MergeFields(*object, CommandFields(), path, command, errors);
}

// A listed set of commands replaces the class's commands; the result is their number.
template <std::size_t Slots>
std::optional<int> MergeCommands(const QJsonValue& value, const QString& path,
                                 std::array<ModbusCommand, Slots>& commands, MergeErrors& errors) {
    const auto list = ListAt(value, path, errors);
    if (!list) return std::nullopt;
    if (list->size() > qsizetype(Slots)) {
        errors.Add(path, QStringLiteral("lists %1 commands; the class has %2 slots")
                             .arg(list->size())
                             .arg(Slots));
        return std::nullopt;
    }
    std::array<ModbusCommand, Slots> replaced{};
    for (qsizetype i = 0; i < list->size(); ++i)
        MergeCommand(list->at(i), IndexPath(path, i), replaced[i], errors);
    commands = replaced;
    return int(list->size());
}

// Commands and CmdCount of one class; a CmdCount beside a Commands list must agree with it.
template <typename Record>
void MergeClassCommands(const QJsonObject& object, const QString& path, Record& record,
                        MergeErrors& errors) {
    if (!object.contains(CommandsKey)) return;
    const auto count = MergeCommands(object.value(CommandsKey), KeyPath(path, CommandsKey),
                                     record.Commands, errors);
    if (!count) return;
    const QJsonValue givenCount = object.value(CmdCountKey);
    if (givenCount.isDouble() && givenCount.toDouble() != *count)
        errors.Add(KeyPath(path, CmdCountKey),
                   QStringLiteral("is %1 but Commands lists %2")
                       .arg(errors.Written(KeyPath(path, CmdCountKey), givenCount.toDouble()))
                       .arg(*count));
    record.CmdCount = static_cast<uint8_t>(*count);
}

bool GivesPortSettings(const QJsonObject& object) {
    for (const char* key : {"Baud", "DataBits", "Parity", "StopBits"})
        if (object.contains(QLatin1String(key))) return true;
    return false;
}

void MergeSerialClass(const QJsonValue& value, const QString& path, SerialClassRecord& record,
                      uint8_t& comBaudIndex, MergeErrors& errors) {
    const auto object = ObjectAt(value, path, errors);
    if (!object) return;
    ReportUnknownKeys(*object, path, ConfigKeyOrder(SerialKey), errors);
    MergeFields(*object, SerialFields(), path, record, errors);
    MergeClassCommands(*object, path, record, errors);
    // The gateway checks the port settings against their check byte, and block 1 keeps
    // the baud rate's list position: both follow what the file sets.
    if (GivesPortSettings(*object)) record.PortChecksum = ComputePortChecksum(record);
    const int position = BaudIndexOf(record.Baud);
    if (object->contains(QLatin1String("Baud")) && position >= 0)
        comBaudIndex = static_cast<uint8_t>(position);
}

void MergeTcpClass(const QJsonValue& value, const QString& path, TcpClassRecord& record,
                   MergeErrors& errors) {
    const auto object = ObjectAt(value, path, errors);
    if (!object) return;
    ReportUnknownKeys(*object, path, ConfigKeyOrder(TcpKey), errors);
    MergeFields(*object, TcpFields(), path, record, errors);
    if (object->contains(ServerIpKey))
        MergeServerIp(object->value(ServerIpKey), KeyPath(path, ServerIpKey), record.ServerIp,
                      errors);
    MergeClassCommands(*object, path, record, errors);
}

// Classes are matched by position; a list may name fewer than there are.
template <std::size_t N>
void MergeClassList(const QJsonValue& value, const QString& path,
                    const std::function<void(const QJsonValue&, const QString&, int)>& mergeClass,
                    MergeErrors& errors) {
    const auto list = ListAt(value, path, errors);
    if (!list) return;
    if (list->size() > qsizetype(N)) {
        errors.Add(path, QStringLiteral("lists %1 classes; there are %2").arg(list->size()).arg(N));
        return;
    }
    for (qsizetype i = 0; i < list->size(); ++i)
        mergeClass(list->at(i), IndexPath(path, i), int(i));
}

void MergeEthernet(const QJsonValue& value, const QString& path, EthernetParams& params,
                   MergeErrors& errors) {
    const auto object = ObjectAt(value, path, errors);
    if (!object) return;
    ReportUnknownKeys(*object, path, ConfigKeyOrder(EthernetKey), errors);
    const std::pair<QLatin1String, QString*> texts[] = {
        {IpKey, &params.Ip}, {MaskKey, &params.Mask}, {GatewayKey, &params.Gateway}};
    for (const auto& [key, text] : texts) {
        if (!object->contains(key)) continue;
        const QJsonValue given = object->value(key);
        if (given.isString())
            *text = given.toString();
        else
            errors.Add(KeyPath(path, key), QStringLiteral("must be a text"));
    }
}

void MergeConnectionPaths(const QJsonValue& value, const QString& path, ConnectionPaths& paths,
                          MergeErrors& errors) {
    const auto object = ObjectAt(value, path, errors);
    if (!object) return;
    ReportUnknownKeys(*object, path, ConfigKeyOrder(PathsKey), errors);
    if (object->contains(ProduceKey))
        MergeByteList(object->value(ProduceKey), KeyPath(path, ProduceKey), paths.PollProduce,
                      errors);
    if (object->contains(ConsumeKey))
        MergeByteList(object->value(ConsumeKey), KeyPath(path, ConsumeKey), paths.PollConsume,
                      errors);
}

void MergeDeviceNet(const QJsonValue& value, const QString& path, DeviceNetParams& params,
                    MergeErrors& errors) {
    const auto object = ObjectAt(value, path, errors);
    if (!object) return;
    ReportUnknownKeys(*object, path, ConfigKeyOrder(DeviceNetKey), errors);
    MergeFields(*object, DeviceNetFields(), path, params, errors);
}

}  // namespace

FirmwareInfo FirmwareInfoOf(const QJsonObject& file) {
    FirmwareInfo firmware;
    const QJsonObject given = file.value(FirmwareKey).toObject();
    for (const auto& field : FirmwareFields()) {
        const double value = given.value(QLatin1String(field.Name)).toDouble(-1);
        if (value < 0 || value > field.Max || std::trunc(value) != value) continue;
        std::visit(
            [&](auto member) {
                using Value = std::remove_reference_t<decltype(firmware.*member)>;
                firmware.*member = static_cast<Value>(value);
            },
            field.Member);
    }
    return firmware;
}

QStringList ConfigKeyOrder(const QString& holderKey) {
    if (holderKey.isEmpty())
        return {FormatKey,    CommentKey,  SchemaKey, BackupKey,  FingerprintKey,
                DeviceNetKey, FirmwareKey, MarkerKey, ComBaudKey, PathsKey,
                EthernetKey,  SerialKey,   TcpKey};
    if (holderKey == DeviceNetKey) return NamesOf(DeviceNetFields());
    if (holderKey == FirmwareKey) return NamesOf(FirmwareFields());
    if (holderKey == PathsKey) return {ProduceKey, ConsumeKey};
    if (holderKey == EthernetKey) return {IpKey, MaskKey, GatewayKey};
    if (holderKey == SerialKey) return NamesOf(SerialFields()) << CommandsKey;
    if (holderKey == TcpKey) {  // the server's address beside whether the connection is used
        QStringList keys = NamesOf(TcpFields());
        keys.insert(1, ServerIpKey);
        return keys << CommandsKey;
    }
    if (holderKey == CommandsKey) return NamesOf(CommandFields());
    return {};
}

QJsonObject ConfigToJson(const GatewayConfig& config, const ConfigFileForm& form) {
    QJsonObject json;
    json[FormatKey] = QLatin1String(ConfigFormatName);
    json[DeviceNetKey] = FieldsToJson(config.DeviceNetParams, DeviceNetFields(), form);
    if (form.Derived) {
        json[FirmwareKey] = FieldsToJson(config.FirmwareInfo, FirmwareFields(), form);
        json[MarkerKey] = config.ConfigMarker;
        json[ComBaudKey] = ByteListToJson(config.ComBaudIndex);
    }
    json[PathsKey] = QJsonObject{{ProduceKey, ByteListToJson(config.ConnectionPaths.PollProduce)},
                                 {ConsumeKey, ByteListToJson(config.ConnectionPaths.PollConsume)}};
    const EthernetParams& ethernet = config.EthernetParams;
    json[EthernetKey] =
        QJsonObject{{IpKey, ethernet.Ip}, {MaskKey, ethernet.Mask}, {GatewayKey, ethernet.Gateway}};
    QJsonArray serialClasses;
    for (const SerialClassRecord& record : config.SerialClasses) {
        QJsonObject object = FieldsToJson(record, SerialFields(), form);
        object[CommandsKey] = CommandsToJson(record.Commands, record.CmdCount, form);
        serialClasses.append(object);
    }
    json[SerialKey] = serialClasses;
    QJsonArray tcpClasses;
    for (const TcpClassRecord& record : config.TcpClasses) {
        QJsonObject object = FieldsToJson(record, TcpFields(), form);
        object[ServerIpKey] = ByteListToJson(record.ServerIp);
        object[CommandsKey] = CommandsToJson(record.Commands, record.CmdCount, form);
        tcpClasses.append(object);
    }
    json[TcpKey] = tcpClasses;
    return json;
}

ConfigFileForm FormOfFile(const QJsonObject& file) {
    const std::function<bool(const QJsonValue&)> givesText = [&](const QJsonValue& value) {
        if (value.isArray()) return std::ranges::any_of(value.toArray(), givesText);
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            if ((it.value().isString() && NamedValuesOf(it.key())) || givesText(it.value()))
                return true;
        return false;
    };
    return {.Texts = givesText(file)};
}

bool MergeConfigJson(const QJsonObject& file, GatewayConfig& config, QStringList& errors,
                     const WrittenNumbers& written) {
    const qsizetype before = errors.size();
    GatewayConfig merged = MergeConfigJsonKeepingGood(file, config, errors, written);
    if (errors.size() > before) return false;
    config = merged;
    return true;
}

GatewayConfig MergeConfigJsonKeepingGood(const QJsonObject& file, const GatewayConfig& config,
                                         QStringList& errors, const WrittenNumbers& written) {
    MergeErrors found(errors, written);
    GatewayConfig merged = config;
    if (file.contains(FormatKey) && file.value(FormatKey) != QLatin1String(ConfigFormatName))
        found.Add(FormatKey, QStringLiteral("must be \"%1\"").arg(QLatin1String(ConfigFormatName)));
    if (file.contains(BackupKey) && !file.value(BackupKey).isBool())
        found.Add(BackupKey, QStringLiteral("must be true or false"));
    // "$schema" is how editors attach the schema to a file, "Comment" what people note in it;
    // neither says anything of the gateway.
    for (const QLatin1String key : {FingerprintKey, SchemaKey, CommentKey})
        if (file.contains(key) && !file.value(key).isString())
            found.Add(key, QStringLiteral("must be a text"));
    ReportUnknownKeys(file, {}, ConfigKeyOrder({}), found);
    if (file.contains(DeviceNetKey))
        MergeDeviceNet(file.value(DeviceNetKey), DeviceNetKey, merged.DeviceNetParams, found);
    if (file.contains(PathsKey))
        MergeConnectionPaths(file.value(PathsKey), PathsKey, merged.ConnectionPaths, found);
    if (file.contains(EthernetKey))
        MergeEthernet(file.value(EthernetKey), EthernetKey, merged.EthernetParams, found);
    if (file.contains(SerialKey)) {
        MergeClassList<SerialClassCount>(
            file.value(SerialKey), SerialKey,
            [&](const QJsonValue& value, const QString& path, int index) {
                MergeSerialClass(value, path, merged.SerialClasses[index],
                                 merged.ComBaudIndex[index], found);
            },
            found);
    }
    if (file.contains(TcpKey)) {
        MergeClassList<TcpClassCount>(
            file.value(TcpKey), TcpKey,
            [&](const QJsonValue& value, const QString& path, int index) {
                MergeTcpClass(value, path, merged.TcpClasses[index], found);
            },
            found);
    }
    return merged;
}

}  // namespace kv
