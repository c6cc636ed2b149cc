#include "cli/PortJobs.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "cli/StopOnSignal.h"
#include "platform/NetworkAddress.h"
#include "platform/PortNaming.h"
#include "platform/StandardError.h"

namespace kv::cli {
namespace {

struct PortRun {
    int Status = 1;
    QString Out;
    QString Err;
    double Seconds = 0;
    QList<std::pair<QString, QString>> Columns;
};

PortRun RunOnePort(const QString& port, bool marked, ProgressLine& progress, const PortTask& task,
                   QTextStream& now) {
    PortRun run;
    QElapsedTimer timer;
    timer.start();
    {
        QTextStream out(&run.Out);
        QTextStream err(&run.Err);
        PortWork work{port, out, err, progress, now, marked};
        run.Status = task(work);
        run.Columns = work.Columns;
    }
    run.Seconds = double(timer.nsecsElapsed()) / 1e9;
    progress.Forget(port);
    return run;
}

void PrintMarked(const QString& port, const QString& text, QTextStream& stream) {
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts))
        stream << port << ": " << line << "\n";
}

QString OutcomeText(const PortRun& run) {
    if (run.Status == 0) return QStringLiteral("OK");
    for (const QString& line : run.Err.split(u'\n', Qt::SkipEmptyParts))
        if (!line.startsWith(QLatin1String(WarningPrefix))) return line.trimmed();
    return QStringLiteral("failed");
}

// The value of column `heading` of a run; empty when the run did not get that far.
QString ColumnValue(const PortRun& run, const QString& heading) {
    for (const auto& [name, value] : run.Columns)
        if (name == heading) return value;
    return {};
}

void PrintTable(const QStringList& ports, const std::vector<PortRun>& runs, QTextStream& out) {
    QStringList headings = {QStringLiteral("PORT"), QStringLiteral("OUTCOME")};
    for (const PortRun& run : runs)
        for (const auto& column : run.Columns)
            if (!headings.contains(column.first)) headings.append(column.first);
    headings.append(QStringLiteral("SECONDS"));
    QList<QStringList> rows;
    for (qsizetype i = 0; i < ports.size(); ++i) {
        QStringList row = {ports[i], OutcomeText(runs[i])};
        for (qsizetype c = 2; c < headings.size() - 1; ++c)
            row.append(ColumnValue(runs[i], headings[c]));
        row.append(QString::number(runs[i].Seconds, 'f', 1));
        rows.append(row);
    }
    QList<qsizetype> widths;
    for (qsizetype c = 0; c < headings.size(); ++c) {
        qsizetype width = headings[c].size();
        for (const QStringList& row : rows) width = std::max(width, row[c].size());
        widths.append(width);
    }
    const auto printRow = [&](const QStringList& cells) {
        QString line;
        for (qsizetype c = 0; c + 1 < cells.size(); ++c)
            line += cells[c].leftJustified(widths[c] + 2);
        out << line << cells.last() << "\n";
    };
    printRow(headings);
    for (const QStringList& row : rows) printRow(row);
}

// A stop signal's status tells a script that the run was cut short, whatever the ports did.
int StatusAfter(int portsStatus) {
    return StopOnSignal::Signal() != 0 ? StopOnSignal::ExitStatus() : portsStatus;
}

}  // namespace

bool NamesAPort(const QString& argument) {
    if (argument.startsWith(u"/dev/") || LooksLikeNetworkAddress(argument)) return true;
    return ComNumberOf(argument) != 0 && !QFileInfo(argument).isFile();
}

QStringList PortsOf(const QCommandLineParser& args) {
    QStringList ports;
    for (const QString& value : args.values(QStringLiteral("port")))
        for (const QString& port : value.split(u',', Qt::SkipEmptyParts))
            if (!port.trimmed().isEmpty()) ports.append(port.trimmed());
    return ports;
}

int NoPortGiven(QTextStream& err) {
    err << "No port given: use --port COM3, --port 3, --port /dev/ttyUSB0 or "
           "--port rfc2217://HOST:PORT\n";
    return 2;
}

// A port named twice, in any spelling, would be opened twice at once, the second time finding
// it occupied by the first, and its output files would overwrite each other.
int CheckPorts(const QStringList& ports, QTextStream& err) {
    if (ports.isEmpty()) return NoPortGiven(err);
    QHash<QString, QString> named;  // as first named, by PortKey
    for (const QString& port : ports) {
        QString error;
        if (LooksLikeNetworkAddress(port) && !ParseNetworkAddress(port, error)) {
            err << error << "\n";
            return 2;
        }
        const QString key = PortKey(port);
        if (named.contains(key)) {
            err << named.value(key) << " and " << port << " are one port: name each port once.\n";
            return 2;
        }
        named.insert(key, port);
    }
    return 0;
}

ProgressLine::ProgressLine(const QCommandLineParser& args)
    : shown_(StandardErrorIsTerminal() && !args.optionNames().contains(QStringLiteral("quiet")) &&
             !args.optionNames().contains(QStringLiteral("q"))) {}

ProgressLine::~ProgressLine() { Clear(); }

void ProgressLine::Show(const QString& port, const QString& doing, int percent) {
    if (!shown_) return;
    const std::lock_guard lock(mutex_);
    if (!order_.contains(port)) order_.append(port);
    states_[port] = QStringLiteral("%1 %2 %3%").arg(doing, port).arg(std::clamp(percent, 0, 100));
    Draw();
}

void ProgressLine::Forget(const QString& port) {
    if (!shown_) return;
    const std::lock_guard lock(mutex_);
    order_.removeAll(port);
    states_.remove(port);
    Draw();
}

ProgressFn ProgressLine::For(const QString& port, const QString& doing, int maximum) {
    return [this, port, doing, maximum](int value) {
        Show(port, doing, maximum > 0 ? value * 100 / maximum : 0);
    };
}

void ProgressLine::Clear() {
    if (!shown_) return;
    const std::lock_guard lock(mutex_);
    if (!drawn_.isEmpty()) std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    drawn_.clear();
}

void ProgressLine::PrintAbove(QTextStream& err, const QString& line) {
    const std::lock_guard lock(mutex_);
    if (shown_ && !drawn_.isEmpty()) std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    err << line << "\n" << Qt::flush;
    if (!shown_) return;
    drawn_.clear();
    Draw();
}

void ProgressLine::Draw() {
    QStringList parts;
    for (const QString& port : order_) parts.append(states_.value(port));
    QString line = parts.join(QStringLiteral(" | "));
    line.truncate(StandardErrorColumns() - 1);
    if (line == drawn_) return;
    drawn_ = line;
    std::fputs(qPrintable(QStringLiteral("\r\033[K") + line), stderr);
    std::fflush(stderr);
}

int RunOnPorts(const QStringList& ports, const QCommandLineParser& args, const PortTask& task,
               QTextStream& out, QTextStream& err) {
    const StopOnSignal stop;
    ProgressLine progress(args);
    std::vector<PortRun> runs(std::size_t(ports.size()));
    std::vector<std::unique_ptr<QThread>> threads;
    const bool marked = ports.size() > 1;
    for (qsizetype i = 0; i < ports.size(); ++i) {
        // The port object is made on the thread that uses it, where its notifier lives.
        threads.emplace_back(QThread::create([&runs, &ports, &progress, &task, &err, marked, i] {
            runs[i] = RunOnePort(ports[i], marked, progress, task, err);
        }));
        threads.back()->start();
    }
    for (const auto& thread : threads) thread->wait();
    progress.Clear();

    if (ports.size() == 1) {
        // Results before messages when both go to one place; where a backup went was told at once.
        out << runs[0].Out << Qt::flush;
        err << runs[0].Err;
        return StatusAfter(runs[0].Status);
    }
    int status = 0;
    for (qsizetype i = 0; i < ports.size(); ++i) {
        PrintMarked(ports[i], runs[i].Out, out);
        PrintMarked(ports[i], runs[i].Err, err);
        status = std::max(status, runs[i].Status);
    }
    err << Qt::flush;
    PrintTable(ports, runs, out);
    return StatusAfter(status);
}

}  // namespace kv::cli
