#include "save/ApplyPlan.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include "config/BackupFingerprint.h"
#include "config/BaudTexts.h"
#include "config/CommandChecks.h"
#include "config/ConfigJson.h"
#include "config/ConfigWarnings.h"
#include "config/FieldText.h"
#include "config/JsonKeyPath.h"
#include "config/ParameterChecks.h"
#include "config/WorkingCopy.h"
#include "save/ConfigChanges.h"
#include "save/FactoryReset.h"
#include "save/PollPaths.h"

namespace kv {

namespace {

constexpr int SerialModeCount = 3;  // none, Modbus RTU, Modbus ASCII
constexpr int TcpValidCount = 2;    // NO, YES

class Checker {
public:
    // A kept backup holds what the gateway held: what the checks refuse is written back.
    Checker(ApplyPlan& plan, bool keptBackup)
        : plan_(plan),
          mergeErrors_(plan.Errors.size()),
          refused_(keptBackup ? plan.Unchecked : plan.Errors) {}

    // A value the merge already refused is not reported again by the value checks.
    void Refuse(const QString& path, const QString& message) {
        const QString base = path.left(path.lastIndexOf(u'.') + 1);
        for (const QString& field : path.mid(base.size()).split(u'/'))
            if (AlreadyRefused(base + field)) return;
        refused_.append(path + QStringLiteral(": ") + message);
    }

    bool AlreadyRefused(const QString& path) const {
        for (qsizetype i = 0; i < mergeErrors_; ++i) {
            const QString refused = plan_.Errors[i].section(QStringLiteral(": "), 0, 0);
            if (refused == path || path.startsWith(refused + u'.') ||
                path.startsWith(refused + u'[') || refused.startsWith(path + u'.'))
                return true;
        }
        return false;
    }

    // Node ID and baud rate are checked apart, so both are named when both are refused.
    void DeviceNet() {
        const DeviceNetParams& params = plan_.Config.DeviceNetParams;
        GatewayConfig scratch;
        const SettingResult node =
            ApplyDeviceNetSetting(scratch, QString::number(params.NodeId), 0);
        if (!node.ok()) Refuse("DeviceNetParams.NodeId", node.Message);
        const SettingResult baud = ApplyDeviceNetSetting(scratch, u"1", params.BaudIndex);
        if (!baud.ok()) Refuse("DeviceNetParams.BaudIndex", baud.Message);
    }

    // Each address is checked on its own, so every refused one is named.
    void Ethernet() {
        const EthernetParams& params = plan_.Config.EthernetParams;
        const EthernetTexts given{params.Ip, params.Gateway, params.Mask};
        const EthernetTexts passing{"192.168.0.1", "192.168.0.1", "255.255.255.0"};
        const std::array<QString EthernetTexts::*, 3> fields = {
            &EthernetTexts::Ip, &EthernetTexts::Gateway, &EthernetTexts::Mask};
        const char* keys[] = {"Ip", "Gateway", "Mask"};
        bool allPass = true;
        for (int i = 0; i < 3; ++i) {
            EthernetTexts texts = passing;
            texts.*fields[i] = given.*fields[i];
            EthernetParams scratch;
            const EthernetSettingResult result = ApplyEthernetSetting(scratch, texts);
            if (result.ok()) continue;
            allPass = false;
            Refuse(QStringLiteral("EthernetParams.%1").arg(keys[i]), result.Message);
        }
        if (allPass) ApplyEthernetSetting(plan_.Config.EthernetParams, given);
    }

    // The port settings go through the COM "Set" rule, which also computes the check byte.
    // Each of the four is checked on its own beside passing values, so every refused one
    // is named under its own key.
    void Ports() {
        using Positions = ComSettingPositions;
        const std::pair<const char*, int Positions::*> fields[] = {
            {"Baud", &Positions::Baud},
            {"DataBits", &Positions::DataBits},
            {"Parity", &Positions::Parity},
            {"StopBits", &Positions::StopBits}};
        for (int port = 0; port < SerialClassCount; ++port) {
            const SerialClassRecord& record = plan_.Config.SerialClasses[port];
            const Positions given{port, BaudIndexOf(record.Baud), record.DataBits - 7,
                                  record.Parity, record.StopBits - 1};
            bool allPass = true;
            for (const auto& [key, field] : fields) {
                Positions alone{port, 0, 0, 0, 0};
                alone.*field = given.*field;
                GatewayConfig scratch;
                const SettingResult result = ApplyComSetting(scratch, alone);
                if (result.ok()) continue;
                allPass = false;
                Refuse(QStringLiteral("SerialClasses[%1].%2").arg(port).arg(key), result.Message);
            }
            if (allPass) ApplyComSetting(plan_.Config, given);
        }
    }

    void SerialClass(int k) {
        SerialClassRecord& record = plan_.Config.SerialClasses[k];
        const QString path = QStringLiteral("SerialClasses[%1]").arg(k);
        if (record.ConnMode >= SerialModeCount)
            Refuse(path + ".ConnMode", "is none of 0 (none), 1 (Modbus RTU), 2 (Modbus ASCII)");
        const SerialClassAttributes attributes =
            ReadSerialClassAttributes(record.ConnMode, NumberFieldText(record.CmdTimeout));
        record.CmdTimeout = attributes.CmdTimeout;
        Commands(path, k, record);
    }

    void TcpClass(int t) {
        TcpClassRecord& record = plan_.Config.TcpClasses[t];
        const QString path = QStringLiteral("TcpClasses[%1]").arg(t);
        if (record.ConnValid >= TcpValidCount) Refuse(path + ".ConnValid", "is neither 0 nor 1");
        TcpClassAttributeTexts texts;
        texts.ConnValidPosition = record.ConnValid;
        for (int i = 0; i < 4; ++i) texts.ServerIp[i] = QString::number(record.ServerIp[i]);
        texts.ConnTimeout = NumberFieldText(record.ConnTimeout);
        texts.RetryConnTimeout = NumberFieldText(record.RetryConnTimeout);
        texts.CmdTimeout = NumberFieldText(record.CmdTimeout);
        const TcpAttributeCheck check = CheckTcpClassAttributes(texts);
        if (!check.ok()) Refuse(path, check.Error);
        Commands(path, SerialClassCount + t, record);
    }

    template <typename Record>
    void Commands(const QString& path, int classIndex, const Record& record) {
        if (record.CmdCount > record.Commands.size())
            Refuse(path + ".CmdCount", ClassFullMessage(classIndex));
        for (int slot = 0; slot < CommandCount(record); ++slot) {
            for (const CommandProblem& problem : CommandProblems(record.Commands[slot]))
                Refuse(QStringLiteral("%1.Commands[%2].%3").arg(path).arg(slot).arg(problem.Field),
                       problem.Message);
        }
    }

    // A path the file names must be one the save window offers. A path it leaves out is the
    // gateway's; should the file's commands no longer offer it, the save window would move
    // it, and the scanner's I/O mapping with it, so the file must say which path it means.
    void PollPath(const GatewayConfig& read, const QJsonObject& file, const char* key,
                  PollDirection direction, std::array<uint8_t, 3>& path) {
        const bool given = file.value("ConnectionPaths").toObject().contains(QLatin1String(key));
        const QString keyPath = QStringLiteral("ConnectionPaths.%1").arg(key);
        if (given) {
            if (!IsPathOffered(plan_.Config, direction, path))
                Refuse(keyPath, QStringLiteral("%1 is not among the paths these classes offer: %2")
                                    .arg(PollPathText(path), OfferedText(direction)));
            return;
        }
        path = PreselectedPath(plan_.Config, direction, path);
        const kv::PollPath gateways = direction == PollDirection::Produced
                                          ? read.ConnectionPaths.PollProduce
                                          : read.ConnectionPaths.PollConsume;
        if (path != gateways && IsPathOffered(read, direction, gateways))
            Refuse(keyPath,
                   QStringLiteral("the gateway's path %1 is no longer offered by these commands; "
                                  "give the path in the file, one of %2")
                       .arg(PollPathText(gateways), OfferedText(direction)));
    }

    QString OfferedText(PollDirection direction) const {
        QStringList texts;
        for (const kv::PollPath& offered : OfferedPaths(plan_.Config, direction))
            texts.append(PollPathText(offered));
        return texts.join(QStringLiteral(", "));
    }

private:
    ApplyPlan& plan_;
    qsizetype mergeErrors_;
    QStringList& refused_;
};

// True when a value the file gives (all keys of an object it gives) differs from `actual`.
bool GivenDiffers(const QJsonValue& given, const QJsonValue& actual) {
    if (!given.isObject()) return given != actual;
    const QJsonObject object = given.toObject();
    for (auto it = object.begin(); it != object.end(); ++it)
        if (GivenDiffers(it.value(), actual.toObject().value(it.key()))) return true;
    return false;
}

// The commands of which the merge refused a field hold made-up values (0 for that field):
// they take no memory here, so that no overlap is told of them.
GatewayConfig WithoutRefusedCommands(GatewayConfig config, const QStringList& mergeErrors) {
    static const QRegularExpression commandPath(
        QStringLiteral(R"(^(Serial|Tcp)Classes\[(\d+)\]\.Commands\[(\d+)\])"));
    for (const QString& error : mergeErrors) {
        const QRegularExpressionMatch match = commandPath.match(error);
        if (!match.hasMatch()) continue;
        const size_t index = match.captured(2).toUInt();
        const size_t slot = match.captured(3).toUInt();
        const auto takeNoMemory = [&](auto& classes) {
            if (index < classes.size() && slot < classes[index].Commands.size())
                classes[index].Commands[slot].Length = 0;
        };
        if (match.captured(1) == QLatin1String("Serial"))
            takeNoMemory(config.SerialClasses);
        else
            takeNoMemory(config.TcpClasses);
    }
    return config;
}

// Poll paths are checked only against the gateway's classes: a file may leave them to it.
ApplyPlan Plan(const GatewayConfig& read, const QJsonObject& file, bool checkPollPaths,
               const WrittenNumbers& written) {
    ApplyPlan plan;
    plan.Config = MergeConfigJsonKeepingGood(file, read, plan.Errors, written);
    const QStringList mergeErrors = plan.Errors;
    // The firmware data stays the gateway's; the marker is the one every save writes.
    QJsonObject kept = ConfigToJson(read);
    kept[QLatin1String("ConfigMarker")] = ConfigMarkerValid;
    for (const char* key : {"FirmwareInfo", "ConfigMarker"}) {
        const QLatin1String name(key);
        if (file.contains(name) && GivenDiffers(file.value(name), kept.value(name)))
            plan.Warnings.append(name + QStringLiteral(": the gateway's own value is kept"));
    }
    if (const QString ignored = IgnoredBackupMark(file); !ignored.isEmpty())
        plan.Warnings.append(ignored);

    // The checks also store some values as the windows would (a time-out outside its range
    // as 0); a kept backup is written exactly as it was read.
    const bool keptBackup = IsKeptBackup(file);
    const GatewayConfig asRead = plan.Config;
    Checker check(plan, keptBackup);
    check.DeviceNet();
    check.Ethernet();
    check.Ports();
    for (int k = 0; k < SerialClassCount; ++k) check.SerialClass(k);
    for (int t = 0; t < TcpClassCount; ++t) check.TcpClass(t);
    if (keptBackup) plan.Config = asRead;
    MakeWorkingCopy(plan.Config);
    plan.Unworkable = ConfigWarnings(WithoutRefusedCommands(plan.Config, mergeErrors));
    // A field the merge refused holds the gateway's value, whose warnings are no news.
    plan.Unworkable.removeIf([&](const QString& warning) {
        return check.AlreadyRefused(warning.section(QStringLiteral(": "), 0, 0));
    });
    plan.PollPaths = plan.Config.ConnectionPaths;
    if (!checkPollPaths) return plan;
    GatewayConfig readOffers = read;  // the lists offer what the working copy holds
    MakeWorkingCopy(readOffers);
    check.PollPath(readOffers, file, "PollProduce", PollDirection::Produced,
                   plan.PollPaths.PollProduce);
    check.PollPath(readOffers, file, "PollConsume", PollDirection::Consumed,
                   plan.PollPaths.PollConsume);
    return plan;
}

// A configuration that passes every check, so that only the values a file gives can fail.
GatewayConfig PassingConfig() {
    GatewayConfig config;
    config.EthernetParams = FactoryEthernetParams();
    const ModbusCommand passing{1, 1, 3, 0, 0, 1};
    for (SerialClassRecord& record : config.SerialClasses) {
        record.Baud = BaudRates.back();
        record.DataBits = 8;
        record.StopBits = 1;
        record.Commands.fill(passing);
    }
    for (TcpClassRecord& record : config.TcpClasses) record.Commands.fill(passing);
    return config;
}

// The warnings about key paths the file gives.
QStringList GivenWarnings(const QJsonObject& file, const QStringList& warnings) {
    QStringList given;
    for (const QString& warning : warnings)
        if (GivesKeyPath(file, warning.section(QStringLiteral(": "), 0, 0))) given << warning;
    return given;
}

}  // namespace

ApplyPlan PlanApply(const GatewayConfig& read, const QJsonObject& file,
                    const WrittenNumbers& written) {
    return Plan(read, file, true, written);
}

QStringList FileProblems(const QJsonObject& file, const FileCheckOptions& options) {
    const ApplyPlan plan = Plan(PassingConfig(), file, false, options.Written);
    if (!options.Strict) return plan.Errors;
    return plan.Errors + plan.Unchecked + GivenWarnings(file, plan.Unworkable);
}

QStringList FileWarnings(const QJsonObject& file, const FileCheckOptions& options) {
    QStringList warnings;
    if (const QString ignored = IgnoredBackupMark(file); !ignored.isEmpty()) warnings << ignored;
    if (options.Strict) return warnings;
    const ApplyPlan plan = Plan(PassingConfig(), file, false, options.Written);
    return warnings + plan.Unchecked + GivenWarnings(file, plan.Unworkable);
}

QStringList JsonDifferences(const QJsonValue& expected, const QJsonValue& actual,
                            const QString& path) {
    QStringList differences;
    if (expected.isObject() && actual.isObject()) {
        const QJsonObject a = expected.toObject();
        const QJsonObject b = actual.toObject();
        QStringList keys = a.keys();
        for (const QString& key : b.keys())
            if (!a.contains(key)) keys.append(key);
        for (const QString& key : keys)
            differences += JsonDifferences(a.value(key), b.value(key),
                                           path.isEmpty() ? key : path + '.' + key);
        return differences;
    }
    if (expected.isArray() && actual.isArray() &&
        expected.toArray().size() == actual.toArray().size()) {
        const QJsonArray a = expected.toArray();
        const QJsonArray b = actual.toArray();
        for (qsizetype i = 0; i < a.size(); ++i)
            differences += JsonDifferences(a[i], b[i], QStringLiteral("%1[%2]").arg(path).arg(i));
        return differences;
    }
    if (expected != actual)
        differences.append(
            QStringLiteral("%1: %2, read %3")
                .arg(path, FieldValueText(path, expected), FieldValueText(path, actual)));
    return differences;
}

}  // namespace kv
