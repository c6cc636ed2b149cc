#include "report/ReportHtml.h"

#include <QCryptographicHash>
#include <utility>

#include "config/ConfigWarnings.h"
#include "config/FieldText.h"
#include "config/FirmwareText.h"
#include "config/GatewayFacts.h"
#include "config/NumberText.h"
#include "config/ViewRows.h"
#include "config/WorkingCopy.h"
#include "eds/ClassCommands.h"
#include "eds/ConnectionData.h"
#include "report/CommandTexts.h"

namespace kv {
namespace {

using Pairs = QList<std::pair<QString, QString>>;

QString Escaped(const QString& text) { return text.toHtmlEscaped(); }

// Tables have their header rows in <thead>: QTextDocument repeats them on every page the
// table runs onto. A cell keeps its text on one line, so that no reference or row is cut
// in two, except in the columns of `wrapping`; a heading breaks only where it has "\n".
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
        for (int column = 0; column < row.size(); ++column)
            html += QStringLiteral("<td%1>%2</td>")
                        .arg(wrapping.contains(column) ? "" : " style=\"white-space: nowrap\"",
                             Escaped(row[column]));
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

QString TitleSection(const ReportSubject& subject) {
    const Pairs facts = {
        {"Made", subject.Made.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))},
        {"Program", Escaped(QStringLiteral("kv9052r-utility " KV_VERSION))},
        {"Source", Escaped(subject.Source)},
        {"SHA-256", QStringLiteral("<tt>%1</tt>").arg(FingerprintOf(subject.FileText))},
        {"", Escaped(QStringLiteral("of %1").arg(subject.FileTextName))}};
    return QStringLiteral("<h1>KV-9052R commissioning report</h1>") + FactTable(facts);
}

QString GatewaySection(const GatewayConfig& config) {
    // Only a read-out, or a file written from one, holds the controller's firmware data.
    const QString firmware = config.FirmwareInfo == FirmwareInfo{}
                                 ? QStringLiteral("not known (the configuration holds none)")
                                 : FirmwareVersionText(config.FirmwareInfo);
    const EthernetParams& ethernet = config.EthernetParams;
    const Pairs facts = {
        {"Firmware", Escaped(firmware)},
        {"DeviceNet node ID", QString::number(config.DeviceNetParams.NodeId)},
        {"DeviceNet baud rate", ListText(u"BaudIndex", config.DeviceNetParams.BaudIndex)},
        {"IP address", Escaped(ethernet.Ip)},
        {"Network mask", Escaped(ethernet.Mask)},
        {"Default gateway", Escaped(ethernet.Gateway)}};
    return Heading("Gateway") + FactTable(facts);
}

QString PortsSection(const GatewayConfig& config) {
    QList<QStringList> serial;
    for (int port = 0; port < SerialClassCount; ++port) {
        const SerialClassRecord& r = config.SerialClasses[port];
        serial.append({ClassCaption(port), ClassIdText(port), ListText(u"ConnMode", r.ConnMode),
                       WholeNumberText(r.Baud), QString::number(r.DataBits),
                       ListText(u"Parity", r.Parity), QString::number(r.StopBits),
                       WholeNumberText(r.CmdTimeout)});
    }
    QList<QStringList> tcp;
    for (int server = 0; server < TcpClassCount; ++server) {
        const TcpClassRecord& r = config.TcpClasses[server];
        const int classIndex = SerialClassCount + server;
        tcp.append({ClassCaption(classIndex), ClassIdText(classIndex),
                    ListText(u"ConnValid", r.ConnValid), ServerIpText(r.ServerIp),
                    WholeNumberText(r.ConnTimeout), WholeNumberText(r.RetryConnTimeout),
                    WholeNumberText(r.CmdTimeout)});
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

QString PollSection(const GatewayConfig& workingCopy) {
    const ConnectionPaths& paths = workingCopy.ConnectionPaths;
    const std::pair<const char*, PollPath> directions[] = {{"Produced", paths.PollProduce},
                                                           {"Consumed", paths.PollConsume}};
    QList<QStringList> rows;
    for (const auto& [direction, path] : directions) {
        QStringList cells = {QLatin1String(direction), PollPathText(path)};
        cells += path[0] == ParameterObjectClass ? ParameterPathCells(path)
                                                 : CommandPathCells(workingCopy, path);
        rows.append(cells);
    }
    const QList<int> function = {4};
    return Heading("Poll connection") +
           Table({"Direction", "Path", "Command", "Device\naddress", "Function",
                  "Modbus\nreference", "Length", "Bytes"},
                 rows, function) +
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

QString ClassHeading(int classIndex, const QString& attributes) {
    return QStringLiteral("<h3>Class %1: %2</h3><p>%3</p>")
        .arg(ClassIdText(classIndex), ClassCaption(classIndex), Escaped(attributes));
}

QString ClassSections(const GatewayConfig& config) {
    // The class tables start on a page of their own, not under the page's last line.
    QString html = QStringLiteral("<h2 style=\"page-break-before: always\">Commands</h2>");
    for (int port = 0; port < SerialClassCount; ++port) {
        const SerialClassRecord& r = config.SerialClasses[port];
        html += ClassHeading(port, QStringLiteral("Mode %1, command time-out %2 ms.")
                                       .arg(ListText(u"ConnMode", r.ConnMode),
                                            WholeNumberText(r.CmdTimeout))) +
                CommandTable(r);
    }
    for (int server = 0; server < TcpClassCount; ++server) {
        const TcpClassRecord& r = config.TcpClasses[server];
        const QString attributes =
            r.ConnValid ? QStringLiteral("Server %1, command time-out %2 ms.")
                              .arg(ServerIpText(r.ServerIp), WholeNumberText(r.CmdTimeout))
                        : QStringLiteral("Not in use.");
        html += ClassHeading(SerialClassCount + server, attributes) + CommandTable(r);
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
    return QStringLiteral(
               "<html><head><meta charset=\"utf-8\"><title>KV-9052R commissioning "
               "report</title><style>body { font-family: 'DejaVu Sans', sans-serif; "
               "font-size: 9pt; } h1 { font-size: 16pt; } h2 { font-size: 12pt; "
               "margin-top: 14px; } h3 { font-size: 10pt; }</style></head><body>") +
           TitleSection(subject) + GatewaySection(subject.Config) + PortsSection(subject.Config) +
           PollSection(workingCopy) + ClassSections(subject.Config) +
           MemorySection(layout, mapSource) + Heading("Warnings") +
           List(ConfigWarnings(subject.Config), QStringLiteral("None.")) +
           QStringLiteral("</body></html>");
}

}  // namespace kv
