#include "report/ReportHtml.h"

#include <QCryptographicHash>
#include <cstdlib>
#include <tuple>
#include <utility>

#include "config/ClassNames.h"
#include "config/ConfigJson.h"
#include "config/FieldText.h"
#include "config/FirmwareText.h"
#include "config/GatewayFacts.h"
#include "config/JsonKeyPath.h"
#include "config/NumberText.h"
#include "config/ViewRows.h"
#include "config/WorkingCopy.h"
#include "eds/ClassCommands.h"
#include "eds/ConnectionData.h"
#include "modbus/ProbeText.h"
#include "report/CommandTexts.h"

namespace kv {
namespace {

using Pairs = QList<std::pair<QString, QString>>;

QString Escaped(const QString& text) { return text.toHtmlEscaped(); }

const QString NotInFile = QStringLiteral("not in the file");

// The texts of the fields a report shows: a field the file leaves out is not in the file.
class Fields {
public:
    explicit Fields(const std::optional<QJsonObject>& file) : file_(file) {}

    bool Gives(const QString& keyPath) const { return !file_ || GivesKeyPath(*file_, keyPath); }
    QString operator()(const QString& keyPath, const QString& text) const {
        return Gives(keyPath) ? text : NotInFile;
    }

private:
    const std::optional<QJsonObject>& file_;
};

QString SerialPath(int port, const char* key) {
    return QStringLiteral("SerialClasses[%1].%2").arg(port).arg(QLatin1String(key));
}

QString TcpPath(int server, const char* key) {
    return QStringLiteral("TcpClasses[%1].%2").arg(server).arg(QLatin1String(key));
}

// Tables have their header rows in <thead>: QTextDocument repeats them on every page the
// table runs onto. A cell keeps its text on one line, so that no reference or row is cut
// in two, except in the columns of `wrapping` and where it says a field is not in the file;
// a heading breaks only where it has "\n". The last cell of a short row spans the rest.
QString Table(const QStringList& header, const QList<QStringList>& rows,
              const QList<int>& wrapping = {}) {
    QString html = QStringLiteral(
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\" "
        "style=\"border-collapse: collapse; border-color: #8a949e\"><thead><tr>");
    for (const QString& heading : header)
        html += QStringLiteral(
                    "<th bgcolor=\"#e4e9ef\" align=\"left\" style=\"white-space: nowrap\">%1</th>")
                    .arg(Escaped(heading).replace(u'\n', QStringLiteral("<br>")));
    html += QStringLiteral("</tr></thead><tbody>");
    for (const QStringList& row : rows) {
        html += QStringLiteral("<tr>");
        for (int column = 0; column < row.size(); ++column) {
            const bool wraps = wrapping.contains(column) || row[column] == NotInFile;
            const qsizetype span = column + 1 == row.size() ? header.size() - column : 1;
            html += QStringLiteral("<td%1%2>%3</td>")
                        .arg(span > 1 ? QStringLiteral(" colspan=\"%1\"").arg(span) : QString(),
                             wraps ? "" : " style=\"white-space: nowrap\"", Escaped(row[column]));
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</tbody></table>");
}

// Name and value side by side, without a header.
QString FactTable(const Pairs& facts) {
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">");
    for (const auto& [name, value] : facts)
        html += QStringLiteral(
                    "<tr><td width=\"150\"><b>%1</b></td>"
                    "<td style=\"white-space: nowrap\">%2</td></tr>")
                    .arg(Escaped(name), value);
    return html + QStringLiteral("</table>");
}

QString List(const QStringList& items, const QString& none) {
    if (items.isEmpty()) return QStringLiteral("<p>%1</p>").arg(Escaped(none));
    QString html = QStringLiteral("<ul>");
    for (const QString& item : items) html += QStringLiteral("<li>%1</li>").arg(Escaped(item));
    return html + QStringLiteral("</ul>");
}

QString Heading(const QString& text) { return QStringLiteral("<h2>%1</h2>").arg(Escaped(text)); }

// "2026-12-07 14:03 UTC+01:00": the time with its offset from UTC, which every reader can
// tell, unlike a zone's abbreviation.
QString MadeText(const QDateTime& made) {
    const int offset = made.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return made.toString(QStringLiteral("yyyy-MM-dd HH:mm")) +
           QStringLiteral(" UTC%1%2:%3")
               .arg(QLatin1Char(offset < 0 ? '-' : '+'))
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

// Who the report is for, as the engineer gave it; what was not given is left out.
Pairs PartiesFacts(const ReportParties& parties) {
    const std::pair<const char*, QString> given[] = {{"Site", parties.Site},
                                                     {"Customer", parties.Customer},
                                                     {"Device tag", parties.Tag},
                                                     {"Engineer", parties.Engineer}};
    Pairs facts;
    for (const auto& [name, value] : given)
        if (!value.trimmed().isEmpty()) facts.append({name, Escaped(value.trimmed())});
    return facts;
}

// What people wrote into the file about it, which may be long: a paragraph that wraps.
QString CommentLine(const ReportSubject& subject) {
    const QString comment =
        subject.File ? subject.File->value(QLatin1String(ConfigCommentKey)).toString().trimmed()
                     : QString();
    if (comment.isEmpty()) return {};
    return QStringLiteral("<p>Comment: %1</p>").arg(Escaped(comment));
}

QString TitleSection(const ReportSubject& subject) {
    const Pairs facts =
        PartiesFacts(subject.Parties) +
        Pairs{{"Made", Escaped(MadeText(subject.Made))},
              {"Program", Escaped(QStringLiteral("kv9052r-utility " KV_VERSION))},
              {"Source", Escaped(subject.Source)},
              {"SHA-256", QStringLiteral("<tt>%1</tt>").arg(FingerprintOf(subject.FileText))},
              {"", Escaped(QStringLiteral("of %1").arg(subject.FileTextName))}};
    return QStringLiteral("<h1>KV-9052R commissioning report</h1>") + CommentLine(subject) +
           FactTable(facts);
}

QString GatewaySection(const GatewayConfig& config, const Fields& field) {
    // Only a read-out, or a file written from one, holds the controller's firmware data.
    const QString firmware = config.FirmwareInfo == FirmwareInfo{}
                                 ? QStringLiteral("not known (the configuration holds none)")
                                 : FirmwareVersionText(config.FirmwareInfo);
    const DeviceNetParams& deviceNet = config.DeviceNetParams;
    const EthernetParams& ethernet = config.EthernetParams;
    const Pairs facts = {
        {"Firmware", Escaped(firmware)},
        {"DeviceNet node ID", field("DeviceNetParams.NodeId", QString::number(deviceNet.NodeId))},
        {"DeviceNet baud rate",
         field("DeviceNetParams.BaudIndex", ListText(u"BaudIndex", deviceNet.BaudIndex))},
        {"IP address", field("EthernetParams.Ip", Escaped(ethernet.Ip))},
        {"Network mask", field("EthernetParams.Mask", Escaped(ethernet.Mask))},
        {"Default gateway", field("EthernetParams.Gateway", Escaped(ethernet.Gateway))}};
    return Heading("Gateway") + FactTable(facts);
}

// A class the file leaves out is one row that says so.
QStringList ClassRowStart(int classIndex, const QString& classPath, const Fields& field) {
    QStringList cells = {ClassCaption(classIndex), ClassIdText(classIndex)};
    if (!field.Gives(classPath)) cells.append(NotInFile);
    return cells;
}

QString PortsSection(const GatewayConfig& config, const Fields& field) {
    QList<QStringList> serial;
    for (int port = 0; port < SerialClassCount; ++port) {
        const SerialClassRecord& r = config.SerialClasses[port];
        QStringList cells =
            ClassRowStart(port, QStringLiteral("SerialClasses[%1]").arg(port), field);
        if (cells.size() == 2)
            cells += {field(SerialPath(port, "ConnMode"), ListText(u"ConnMode", r.ConnMode)),
                      field(SerialPath(port, "Baud"), WholeNumberText(r.Baud)),
                      field(SerialPath(port, "DataBits"), QString::number(r.DataBits)),
                      field(SerialPath(port, "Parity"), ListText(u"Parity", r.Parity)),
                      field(SerialPath(port, "StopBits"), QString::number(r.StopBits)),
                      field(SerialPath(port, "CmdTimeout"), WholeNumberText(r.CmdTimeout))};
        serial.append(cells);
    }
    QList<QStringList> tcp;
    for (int server = 0; server < TcpClassCount; ++server) {
        const TcpClassRecord& r = config.TcpClasses[server];
        QStringList cells = ClassRowStart(SerialClassCount + server,
                                          QStringLiteral("TcpClasses[%1]").arg(server), field);
        if (cells.size() == 2)
            cells +=
                {field(TcpPath(server, "ConnValid"), ListText(u"ConnValid", r.ConnValid)),
                 field(TcpPath(server, "ServerIp"), ServerIpText(r.ServerIp)),
                 field(TcpPath(server, "ConnTimeout"), WholeNumberText(r.ConnTimeout)),
                 field(TcpPath(server, "RetryConnTimeout"), WholeNumberText(r.RetryConnTimeout)),
                 field(TcpPath(server, "CmdTimeout"), WholeNumberText(r.CmdTimeout))};
        tcp.append(cells);
    }
    return Heading("Serial ports") +
           Table({"Port", "Class", "Mode", "Baud\nrate", "Data\nbits", "Parity", "Stop\nbits",
                  "Command\ntime-out (ms)"},
                 serial) +
           Heading("Modbus TCP servers") +
           Table({"Server", "Class", "In use", "Server IP", "Connect\ntime-out (ms)",
                  "Retry\ntime-out (ms)", "Command\ntime-out (ms)"},
                 tcp);
}

// The gateway's own parameter object offers its Ethernet addresses, 4 bytes each, in the
// order of its attributes 1..3.
QStringList ParameterPathCells(const PollPath& path) {
    const char* names[] = {"IP address", "Default gateway", "Network mask"};
    const bool known = path[2] >= 1 && path[2] <= 3;
    return {QStringLiteral("Gateway's %1").arg(known ? names[path[2] - 1] : "parameter"),
            "",
            "",
            "",
            "",
            "4"};
}

// A path names a command of a class in use, as the save window offers it; the command's
// data attribute carries its bytes.
QStringList CommandPathCells(const GatewayConfig& workingCopy, const PollPath& path) {
    for (const ClassCommand& c : CommandsInUse(workingCopy)) {
        if (c.ClassId != path[0] || c.Instance != path[1]) continue;
        const ModbusCommand& command = c.Command;
        const int classIndex = *ClassIndexOf(c.ClassId);
        return {QStringLiteral("%1 instance %2").arg(ClassCaption(classIndex)).arg(c.Instance),
                QString::number(command.NetId),
                FunctionText(command.FunctionCode),
                ReferenceRangeText(command),
                LengthText(command),
                QString::number(CommandBytes(command))};
    }
    return {QStringLiteral("no command of a class in use"), "", "", "", "", "0"};
}

QString PollSection(const GatewayConfig& workingCopy, const Fields& field) {
    const ConnectionPaths& paths = workingCopy.ConnectionPaths;
    const std::tuple<const char*, const char*, PollPath> directions[] = {
        {"Produced", "ConnectionPaths.PollProduce", paths.PollProduce},
        {"Consumed", "ConnectionPaths.PollConsume", paths.PollConsume}};
    QList<QStringList> rows;
    for (const auto& [direction, key, path] : directions) {
        QStringList cells = {QLatin1String(direction)};
        if (!field.Gives(QLatin1String(key)))
            cells.append(NotInFile);
        else if (path[0] == ParameterObjectClass)
            cells += QStringList{PollPathText(path)} + ParameterPathCells(path);
        else
            cells += QStringList{PollPathText(path)} + CommandPathCells(workingCopy, path);
        rows.append(cells);
    }
    // The command's name wraps, so that the function keeps its text on one line.
    const QList<int> command = {2};
    return Heading("Poll connection") +
           Table({"Direction", "Path", "Command", "Device\naddress", "Function",
                  "Modbus\nreference", "Length", "Bytes"},
                 rows, command) +
           QStringLiteral(
               "<p>Produced data goes from the gateway to the DeviceNet master, "
               "consumed data from the master to the gateway.</p>");
}

template <typename Record>
QString CommandTable(const Record& record) {
    QList<QStringList> rows;
    for (int k = 1; k <= CommandCount(record); ++k) {
        const ModbusCommand& command = record.Commands[k - 1];
        const QStringList cells = CommandCells(command, k);
        rows.append({command.Valid ? QString::number(k) : QStringLiteral("%1 (not valid)").arg(k),
                     cells[NetIdCell], FunctionText(command.FunctionCode),
                     ReferenceRangeText(command), LengthText(command),
                     QString::number(CommandBytes(command)),
                     cells[MemFromCell] + u'-' + cells[MemToCell]});
    }
    if (rows.isEmpty()) return QStringLiteral("<p>No commands.</p>");
    return Table({"Instance", "Device\naddress", "Function", "Modbus\nreference", "Length", "Bytes",
                  "Internal\nmemory"},
                 rows);
}

// The class's heading, the sentence of its attributes and its commands.
template <typename Record>
QString ClassSection(int classIndex, const QString& classPath, const QString& attributes,
                     const Record& record, const Fields& field) {
    const bool given = field.Gives(classPath);
    const QString commands = field.Gives(classPath + QStringLiteral(".Commands"))
                                 ? CommandTable(record)
                                 : QStringLiteral("<p>Commands not in the file.</p>");
    return QStringLiteral("<h3>Class %1: %2</h3><p>%3</p>")
               .arg(ClassIdText(classIndex), ClassCaption(classIndex),
                    Escaped(given ? attributes : QStringLiteral("Not in the file."))) +
           (given ? commands : QString());
}

QString TimeoutText(const Fields& field, const QString& keyPath, double milliseconds) {
    return field(keyPath, WholeNumberText(milliseconds) + QStringLiteral(" ms"));
}

QString ClassSections(const GatewayConfig& config, const Fields& field) {
    // The class tables start on a page of their own, not under the page's last line.
    QString html = QStringLiteral("<h2 style=\"page-break-before: always\">Commands</h2>");
    for (int port = 0; port < SerialClassCount; ++port) {
        const SerialClassRecord& r = config.SerialClasses[port];
        const QString attributes =
            QStringLiteral("Mode %1, command time-out %2.")
                .arg(field(SerialPath(port, "ConnMode"), ListText(u"ConnMode", r.ConnMode)),
                     TimeoutText(field, SerialPath(port, "CmdTimeout"), r.CmdTimeout));
        html +=
            ClassSection(port, QStringLiteral("SerialClasses[%1]").arg(port), attributes, r, field);
    }
    for (int server = 0; server < TcpClassCount; ++server) {
        const TcpClassRecord& r = config.TcpClasses[server];
        const bool inUseGiven = field.Gives(TcpPath(server, "ConnValid"));
        const QString attributes =
            inUseGiven && !r.ConnValid
                ? QStringLiteral("Not in use.")
                : QStringLiteral("%1Server %2, command time-out %3.")
                      .arg(inUseGiven ? QString() : QStringLiteral("In use: not in the file. "),
                           field(TcpPath(server, "ServerIp"), ServerIpText(r.ServerIp)),
                           TimeoutText(field, TcpPath(server, "CmdTimeout"), r.CmdTimeout));
        html += ClassSection(SerialClassCount + server,
                             QStringLiteral("TcpClasses[%1]").arg(server), attributes, r, field);
    }
    return html;
}

QString MemorySection(const MemoryLayout& layout, const QString& mapSource) {
    QStringList overlaps;
    for (const MemoryOverlap& overlap : layout.Overlaps) overlaps.append(OverlapText(overlap));
    // The picture is not cut from its heading: both start a page.
    return QStringLiteral("<h2 style=\"page-break-before: always\">Internal memory</h2>") +
           QStringLiteral("<p><img src=\"%1\" width=\"%2\"></p>")
               .arg(mapSource)
               .arg(ReportMapWidth) +
           QStringLiteral("<h3>Shared addresses</h3>") +
           List(overlaps, QStringLiteral("No two commands share an address."));
}

// What `check` says of the same configuration.
QString FindingsSections(const CheckFindings& findings) {
    return Heading("Problems") + List(findings.Problems, QStringLiteral("None.")) +
           Heading("Warnings") + List(findings.Warnings, QStringLiteral("None."));
}

// What the probes of the Modbus devices found, when the windows made any.
QString ProbeSection(const QList<ProbeRecord>& probes) {
    if (probes.isEmpty()) return {};
    QList<QStringList> rows;
    for (const ProbeRecord& probe : probes)
        for (const ProbeResult& result : probe.Results)
            rows.append(
                {MadeText(probe.Made),
                 QStringLiteral("%1/%2").arg(ClassName(result.ClassIndex)).arg(result.Instance),
                 ProbeFunctionText(result), result.Reference, ProbeOutcomeText(result)});
    return Heading("Modbus devices") +
           Table({"Tested", "Command", "Function", "References", "Outcome"}, rows, {2, 4});
}

// Lines to sign on paper: the engineer's name is printed when it was given.
QString SignOffSection(const ReportParties& parties) {
    const QString line = QStringLiteral("_________________________");
    const QString engineer = parties.Engineer.trimmed();
    const Pairs facts = {{"Engineer", engineer.isEmpty() ? line : Escaped(engineer)},
                         {"Signature", line},
                         {"Date", line}};
    return Heading("Commissioned") + FactTable(facts);
}

}  // namespace

MemoryLayout ReportedLayout(const GatewayConfig& config) {
    GatewayConfig workingCopy = config;
    MakeWorkingCopy(workingCopy);
    return FindMemoryLayout(workingCopy);
}

QString FingerprintOf(const QByteArray& text) {
    return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex());
}

QString ReportHtml(const ReportSubject& subject, const MemoryLayout& layout,
                   const QString& mapSource) {
    // The poll lists work on the editor's copy of the classes, made here from the stored ones.
    GatewayConfig workingCopy = subject.Config;
    MakeWorkingCopy(workingCopy);
    const Fields field(subject.File);
    return QStringLiteral(
               "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\">"
               "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
               "<title>KV-9052R commissioning report</title><style>body { font-family: "
               "'DejaVu Sans', sans-serif; font-size: 9pt; } h1 { font-size: 16pt; } h2 { "
               "font-size: 12pt; margin-top: 14px; } h3 { font-size: 10pt; }</style></head>"
               "<body>") +
           TitleSection(subject) + GatewaySection(subject.Config, field) +
           PortsSection(subject.Config, field) + PollSection(workingCopy, field) +
           ClassSections(subject.Config, field) + MemorySection(layout, mapSource) +
           FindingsSections(subject.Findings) + ProbeSection(subject.Probes) +
           SignOffSection(subject.Parties) + QStringLiteral("</body></html>");
}

}  // namespace kv
