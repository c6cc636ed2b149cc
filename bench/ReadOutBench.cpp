// Times full read-outs of a maximal configuration against kv9052r-gateway-sim at
// 115200 bit/s and prints the wall time beside the line's floor: the bytes that crossed
// the line both ways at 11520 bytes/s plus the console's latency for every line. Then
// times the write-back, the EEPROM copy both ways and kv9052r-cli reading many gateways at
// once against one alone, with the tool's CPU time and peak memory while it reads them, what
// keeping a backup before a write adds to `apply`, and `apply` of one changed field and of
// nothing against a read-out.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "backup/EepromCopy.h"
#include "console/ConsoleLink.h"
#include "console/ReadOut.h"
#include "platform/RoutedSerialPort.h"
#include "platform/SteadyClock.h"
#include "save/ApplyConfiguration.h"
#include "save/BackupBeforeWrite.h"
#include "save/WriteBack.h"

namespace {

// Counts what crosses the line, and the command lines (one carriage return each).
class CountingPort : public kv::AimedPort {
public:
    explicit CountingPort(kv::AimedPort& port) : port_(port) {}
    void SelectPort(int number) override { port_.SelectPort(number); }
    int SelectedPort() const override { return port_.SelectedPort(); }
    kv::PortOpenResult Open() override { return port_.Open(); }
    void Close() override { port_.Close(); }
    bool IsOpen() const override { return port_.IsOpen(); }
    void ClearReceiveBuffer() override { port_.ClearReceiveBuffer(); }
    int BytesWaiting() override { return port_.BytesWaiting(); }
    QByteArray ReadAll() override {
        const QByteArray bytes = port_.ReadAll();
        BytesIn += bytes.size();
        return bytes;
    }
    int BytesToSend() override { return port_.BytesToSend(); }
    void Write(const QByteArray& bytes) override {
        BytesOut += bytes.size();
        Lines += bytes.count('\r');
        port_.Write(bytes);
    }
    void WaitForData(std::chrono::microseconds maxWait) override { port_.WaitForData(maxWait); }

    qint64 BytesIn = 0;
    qint64 BytesOut = 0;
    qint64 Lines = 0;

private:
    kv::AimedPort& port_;
};

constexpr double LineBytesPerSecond = 11520.0;
constexpr double LatencyMs = 1.0;  // the simulator's default console latency
constexpr int Runs = 3;

// Many gateways read at once by one kv9052r-cli: its wall time against one gateway alone,
// its peak resident memory, and its CPU time as a share of the wall time. A target of 0 is
// only reported.
struct ManyCase {
    int Gateways;
    double LatencyMs;
    int Runs;
    double MaxRatio;
    double MaxCpuShare;
    double MaxResidentMb;
};
constexpr ManyCase ManyCases[] = {
    {4, 1.0, Runs, 1.3, 0.10, 0}, {16, 20.0, 2, 1.05, 0.10, 32}, {16, 1.0, Runs, 0, 0, 32}};

struct CliTiming {
    bool Ok = false;
    double WallSeconds = 0;
    double CpuSeconds = 0;  // the tool's own, user and system
    double ResidentMb = 0;  // its peak resident set
};

double Seconds(const timeval& time) { return double(time.tv_sec) + double(time.tv_usec) / 1e6; }

// kv9052r-cli read of COM first..first+count-1 at once, into `outDir`. Started and reaped
// here rather than by QProcess, so that wait4 gives this run's own resource usage.
CliTiming TimeCliRead(int first, int count, const QString& outDir) {
    QStringList ports;
    for (int number = first; number < first + count; ++number)
        ports.append(QStringLiteral("COM%1").arg(number));
    const QByteArray program =
        QFile::encodeName(QCoreApplication::applicationDirPath() + "/kv9052r-cli");
    const QByteArray portList = ports.join(',').toUtf8();
    const QByteArray folder = QFile::encodeName(outDir);
    const char* const arguments[] = {
        program.constData(),  "read",      "--quiet",          "--port",
        portList.constData(), "--out-dir", folder.constData(), nullptr};
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    CliTiming timing;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.constData(), &quiet, nullptr,
                                    const_cast<char* const*>(arguments), environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) return timing;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return timing;
    timing.WallSeconds = double(timer.nsecsElapsed()) / 1e9;
    timing.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    timing.CpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    timing.ResidentMb = double(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
    return timing;
}

bool StartSimulator(QProcess& simulator, int com, double latencyMs) {
    simulator.start(
        QCoreApplication::applicationDirPath() + "/kv9052r-gateway-sim",
        {"--maximal", "--com", QString::number(com), "--latency-ms", QString::number(latencyMs)});
    return simulator.waitForStarted(5000) && simulator.waitForReadyRead(5000);
}

bool Within(double value, double target) { return target == 0 || value < target; }

// " (target < 10%)", or nothing for a figure that is only reported.
std::string Target(const char* relation, double target, const char* unit) {
    if (target == 0) return {};
    return QStringLiteral(" (target %1 %2%3)")
        .arg(QString::fromLatin1(relation), QString::number(target), QString::fromLatin1(unit))
        .toStdString();
}

// Returns whether the case's targets were met.
bool BenchManyGateways(const ManyCase& many, const QString& outDir) {
    std::vector<std::unique_ptr<QProcess>> simulators;
    for (int com = 1; com <= many.Gateways; ++com) {
        simulators.push_back(std::make_unique<QProcess>());
        if (!StartSimulator(*simulators.back(), com, many.LatencyMs)) {
            std::fprintf(stderr, "a virtual gateway did not start\n");
            return false;
        }
    }
    double bestAlone = 1e9;
    CliTiming bestMany{false, 1e9, 0, 0};
    double mostResidentMb = 0;
    for (int run = 0; run < many.Runs; ++run) {
        const CliTiming alone = TimeCliRead(1, 1, outDir);
        const CliTiming all = TimeCliRead(1, many.Gateways, outDir);
        if (!alone.Ok || !all.Ok) {
            std::fprintf(stderr, "kv9052r-cli read failed\n");
            return false;
        }
        std::printf(
            "run %d: kv9052r-cli read at %g ms latency, one gateway %.3f s, %d at once %.3f s "
            "(CPU %.3f s, %.1f MB resident)\n",
            run + 1, many.LatencyMs, alone.WallSeconds, many.Gateways, all.WallSeconds,
            all.CpuSeconds, all.ResidentMb);
        bestAlone = std::min(bestAlone, alone.WallSeconds);
        if (all.WallSeconds < bestMany.WallSeconds) bestMany = all;
        mostResidentMb = std::max(mostResidentMb, all.ResidentMb);
    }
    for (const auto& simulator : simulators) {
        simulator->terminate();
        simulator->waitForFinished(5000);
    }
    const double ratio = bestMany.WallSeconds / bestAlone;
    const double cpuShare = bestMany.CpuSeconds / bestMany.WallSeconds;
    std::printf(
        "%d gateways at once, %g ms latency: %.2f times one alone%s; the tool's CPU time "
        "%.1f%% of the wall time%s; at most %.1f MB resident%s\n",
        many.Gateways, many.LatencyMs, ratio, Target("<=", many.MaxRatio, "").c_str(),
        cpuShare * 100, Target("<", many.MaxCpuShare * 100, "%").c_str(), mostResidentMb,
        Target("<", many.MaxResidentMb, " MB").c_str());
    return (many.MaxRatio == 0 || ratio <= many.MaxRatio) && Within(cpuShare, many.MaxCpuShare) &&
           Within(mostResidentMb, many.MaxResidentMb);
}

// `apply` keeps the configuration its first read-out gave, so a backup costs one file
// written; timed here as the mean of many.
double BackupMilliseconds(const kv::GatewayConfig& config, const QString& folder) {
    constexpr int Backups = 20;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < Backups; ++i)
        if (!kv::KeepBackup(folder, config, QStringLiteral("COM8")).ok()) return -1;
    return double(timer.nsecsElapsed()) / 1e6 / Backups;
}

// The best of Runs of one operation on the open port, in seconds; negative when one failed.
template <typename Operation>
double BestSeconds(Operation operation) {
    double best = 1e9;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        if (!operation()) return -1;
        best = std::min(best, double(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

// The operations that write, and the EEPROM copy, each from its handshake to its last line.
bool BenchWritesAndCopies(kv::ConsoleLink& link, const kv::GatewayConfig& config,
                          const QString& folder) {
    const QString backup = folder + QStringLiteral("/bench.ini");
    const double save = BestSeconds([&] {
        return kv::WriteBack(link, config, config.ConnectionPaths, {}) == kv::WriteResult::Ok;
    });
    const double copyOut = BestSeconds([&] { return kv::ImportToIni(link, backup, {}).ok(); });
    kv::EepromImage image;
    const bool readable = kv::CheckBackupToWrite(backup, false, image).ok();
    const double copyIn =
        BestSeconds([&] { return readable && kv::WriteBlocksToEeprom(link, image, {}).ok(); });
    std::printf(
        "save of a maximal configuration: %.3f s; EEPROM backup: %.3f s; EEPROM restore: %.3f "
        "s\n",
        save, copyOut, copyIn);
    return save > 0 && copyOut > 0 && copyIn > 0;
}

// `apply` as the command line runs it (read, write, read back; no backup) of a file that changes
// one field (a new timeout each run), and of one that changes nothing, against one read-out.
bool BenchApply(kv::ConsoleLink& link, const QString& folder, double readOutSeconds) {
    kv::ApplyOptions options;
    options.EdsFolders = {folder};
    int timeout = 500;
    const double oneField = BestSeconds([&] {
        const QJsonObject com1{{"CmdTimeout", ++timeout}};
        const QJsonObject file{{"SerialClasses", QJsonArray{com1}}};
        return kv::ApplyConfiguration(link, file, options).Ok;
    });
    const double unchanged =
        BestSeconds([&] { return kv::ApplyConfiguration(link, {}, options).NothingToChange; });
    std::printf(
        "apply of a one-field change: %.3f s, %.2f read-outs (target <= 2.3); with nothing to "
        "change: %.3f s, %.2f read-outs (target <= 1.1)\n",
        oneField, oneField / readOutSeconds, unchanged, unchanged / readOutSeconds);
    return oneField > 0 && unchanged > 0 && oneField <= 2.3 * readOutSeconds &&
           unchanged <= 1.1 * readOutSeconds;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    qputenv("KV9052R_PORT_DIR", QFile::encodeName(folder.path()));

    QProcess simulator;
    simulator.start(QCoreApplication::applicationDirPath() + "/kv9052r-gateway-sim",
                    {"--maximal", "--com", "8", "--latency-ms", QString::number(LatencyMs)});
    if (!simulator.waitForStarted(5000) || !simulator.waitForReadyRead(5000)) {
        std::fprintf(stderr, "the virtual gateway did not start\n");
        return 1;
    }

    kv::RoutedSerialPort serial;
    CountingPort port(serial);
    kv::SteadyClock clock;
    kv::ConsoleLink link(port, clock);
    port.SelectPort(8);

    double bestSeconds = 1e9;
    double floorSeconds = 0;
    kv::GatewayConfig config;
    for (int run = 0; run < Runs; ++run) {
        port.BytesIn = port.BytesOut = port.Lines = 0;
        if (!port.Open().ok()) {
            std::fprintf(stderr, "cannot open the virtual gateway's port\n");
            return 1;
        }
        config = {};
        QElapsedTimer timer;
        timer.start();
        const kv::ReadOutResult result = kv::ReadGateway(link, config, [](int) {});
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        port.Close();
        if (result != kv::ReadOutResult::Ok || config.SerialClasses[0].CmdCount != 10) {
            std::fprintf(stderr, "the read-out failed\n");
            return 1;
        }
        bestSeconds = std::min(bestSeconds, seconds);
        floorSeconds = double(port.BytesIn + port.BytesOut) / LineBytesPerSecond +
                       double(port.Lines) * LatencyMs / 1000.0;
        std::printf("run %d: %.3f s (%lld bytes out, %lld bytes in, %lld lines)\n", run + 1,
                    seconds, port.BytesOut, port.BytesIn, port.Lines);
    }
    if (!port.Open().ok()) {
        std::fprintf(stderr, "cannot open the virtual gateway's port\n");
        return 1;
    }
    config.EditSerialClasses = config.SerialClasses;
    config.EditTcpClasses = config.TcpClasses;
    const bool writesMet = BenchWritesAndCopies(link, config, folder.path()) &&
                           BenchApply(link, folder.path(), bestSeconds);
    port.Close();
    simulator.terminate();
    simulator.waitForFinished(5000);

    std::printf(
        "read-out of a maximal configuration: %.3f s; floor %.3f s; ratio %.2f (target <= 2.5)\n",
        bestSeconds, floorSeconds, bestSeconds / floorSeconds);
    const double backupMs = BackupMilliseconds(config, folder.filePath("backups"));
    std::printf("a backup before a write: %.2f ms, %.2f%% of a read-out (no read of its own)\n",
                backupMs, backupMs / 10 / bestSeconds);
    bool manyMet = true;
    for (const ManyCase& many : ManyCases)
        manyMet = BenchManyGateways(many, folder.filePath("read-outs")) && manyMet;
    return bestSeconds / floorSeconds <= 2.5 && manyMet && writesMet ? 0 : 3;
}
