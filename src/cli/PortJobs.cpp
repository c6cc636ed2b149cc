#include "cli/PortJobs.h"

#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <memory>
#include <vector>

#include "cli/PortTable.h"
#include "cli/StopOnSignal.h"

namespace kv::cli {
namespace {

PortRun RunOnePort(const QString& port, const ConsoleSettings& console, bool marked,
                   ProgressLine& progress, const PortTask& task, QTextStream& now) {
    PortRun run;
    QElapsedTimer timer;
    timer.start();
    {
        QTextStream out(&run.Out);
        QTextStream err(&run.Err);
        PortWork work{port, console, out, err, progress, now, marked};
        run.Status = task(work);
        run.EndedAfterStop = StopOnSignal::Signal() != 0;
        run.Columns = work.Columns;
        run.WarningLines = work.WarningLines;
        run.Outcome = work.Outcome;
        run.Result = work.Result;
    }
    run.Seconds = double(timer.nsecsElapsed()) / 1e9;
    progress.Forget(port);
    return run;
}

void PrintMarked(const QString& port, const QString& text, QTextStream& stream) {
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts))
        stream << port << ": " << line << "\n";
}

// A stop signal's status tells a script that the run was cut short, whatever the ports did.
int StatusAfter(int portsStatus) {
    return StopOnSignal::Signal() != 0 ? StopOnSignal::ExitStatus() : portsStatus;
}

}  // namespace

int RunOnPorts(const QStringList& ports, const Invocation& in, const PortTask& task) {
    const StopOnSignal stop;
    ProgressLine progress(in.Args);
    std::vector<PortRun> runs(std::size_t(ports.size()));
    std::vector<std::unique_ptr<QThread>> threads;
    const bool marked = ports.size() > 1;
    for (qsizetype i = 0; i < ports.size(); ++i) {
        // The port object is made on the thread that uses it, where its notifier lives.
        threads.emplace_back(QThread::create([&runs, &ports, &in, &progress, &task, marked, i] {
            runs[i] = RunOnePort(ports[i], in.Console, marked, progress, task, in.Err);
        }));
        threads.back()->start();
    }
    for (const auto& thread : threads) thread->wait();
    progress.Clear();

    for (qsizetype i = 0; i < ports.size(); ++i) in.Result.AddPort(ports[i], runs[i]);
    if (ports.size() == 1) {
        // Results before messages when both go to one place; where a backup went was told at once.
        in.Text() << runs[0].Out << Qt::flush;
        in.Err << runs[0].Err;
        return StatusAfter(runs[0].Status);
    }
    int status = 0;
    for (qsizetype i = 0; i < ports.size(); ++i) {
        PrintMarked(ports[i], runs[i].Out, in.Text());
        PrintMarked(ports[i], runs[i].Err, in.Err);
        status = WorseStatus(status, runs[i].Status);
    }
    in.Err << Qt::flush;
    // The document of --json takes the table's place.
    if (!in.Result.Wanted()) PrintPortTable(ports, runs, in.Out);
    return StatusAfter(status);
}

}  // namespace kv::cli
