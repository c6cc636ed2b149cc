// Times full read-outs of a maximal configuration against kv9052r-gateway-sim at
// 115200 bit/s and prints the wall time beside the line's floor: the bytes that crossed
// the line both ways at 11520 bytes/s plus the console's latency for every line. Then
// times kv9052r-cli reading four gateways at once against one alone, and the tool's CPU
// time while it reads four, and what keeping a backup before a write adds to `apply`.

#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <vector>

#include "console/ConsoleLink.h"
#include "console/ReadOut.h"
#include "platform/QtSerialPort.h"
#include "platform/SteadyClock.h"
#include "save/BackupBeforeWrite.h"

namespace {

// Counts what crosses the line, and the command lines (one carriage return each).
class CountingPort : public kv::SerialPort {
public:
    explicit CountingPort(kv::SerialPort& port) : port_(port) {}
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
    kv::SerialPort& port_;
};

constexpr double LineBytesPerSecond = 11520.0;
constexpr double LatencyMs = 1.0;  // the simulator's default console latency
constexpr int Runs = 3;
constexpr int ManyGateways = 4;
constexpr int FirstManyCom = 9;

double CpuSecondsOfChildren() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct CliTiming {
    bool Ok = false;
    double WallSeconds = 0;
    double CpuSeconds = 0;  // the tool's own, user and system
};

// kv9052r-cli read of COM first..first+count-1 at once, into `outDir`.
CliTiming TimeCliRead(int first, int count, const QString& outDir) {
    QStringList ports;
    for (int number = first; number < first + count; ++number)
        ports.append(QStringLiteral("COM%1").arg(number));
    const double cpuBefore = CpuSecondsOfChildren();
    QElapsedTimer timer;
    timer.start();
    QProcess cli;
    cli.start(QCoreApplication::applicationDirPath() + "/kv9052r-cli",
              {"read", "--quiet", "--port", ports.join(','), "--out-dir", outDir});
    CliTiming timing;
    timing.Ok = cli.waitForFinished(120000) && cli.exitCode() == 0;
    timing.WallSeconds = double(timer.nsecsElapsed()) / 1e9;
    timing.CpuSeconds = CpuSecondsOfChildren() - cpuBefore;
    return timing;
}

bool StartSimulator(QProcess& simulator, int com) {
    simulator.start(
        QCoreApplication::applicationDirPath() + "/kv9052r-gateway-sim",
        {"--maximal", "--com", QString::number(com), "--latency-ms", QString::number(LatencyMs)});
    return simulator.waitForStarted(5000) && simulator.waitForReadyRead(5000);
}

// Returns whether both targets were met.
bool BenchManyGateways(const QString& outDir) {
    std::vector<std::unique_ptr<QProcess>> simulators;
    for (int i = 0; i < ManyGateways; ++i) {
        simulators.push_back(std::make_unique<QProcess>());
        if (!StartSimulator(*simulators.back(), FirstManyCom + i)) {
            std::fprintf(stderr, "a virtual gateway did not start\n");
            return false;
        }
    }
    double bestAlone = 1e9;
    CliTiming bestMany{false, 1e9, 0};
    for (int run = 0; run < Runs; ++run) {
        const CliTiming alone = TimeCliRead(FirstManyCom, 1, outDir);
        const CliTiming many = TimeCliRead(FirstManyCom, ManyGateways, outDir);
        if (!alone.Ok || !many.Ok) {
            std::fprintf(stderr, "kv9052r-cli read failed\n");
            return false;
        }
        std::printf(
            "run %d: kv9052r-cli read, one gateway %.3f s, %d at once %.3f s (CPU %.3f s)\n",
            run + 1, alone.WallSeconds, ManyGateways, many.WallSeconds, many.CpuSeconds);
        bestAlone = std::min(bestAlone, alone.WallSeconds);
        if (many.WallSeconds < bestMany.WallSeconds) bestMany = many;
    }
    for (const auto& simulator : simulators) {
        simulator->terminate();
        simulator->waitForFinished(5000);
    }
    const double ratio = bestMany.WallSeconds / bestAlone;
    const double cpuShare = bestMany.CpuSeconds / bestMany.WallSeconds;
    std::printf(
        "%d gateways at once: %.2f times one alone (target <= 1.3); the tool's CPU "
        "time %.1f%% of the wall time (target < 10%%)\n",
        ManyGateways, ratio, cpuShare * 100);
    return ratio <= 1.3 && cpuShare < 0.10;
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

    kv::QtSerialPort serial;
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
    simulator.terminate();
    simulator.waitForFinished(5000);

    std::printf(
        "read-out of a maximal configuration: %.3f s; floor %.3f s; ratio %.2f (target <= 2.5)\n",
        bestSeconds, floorSeconds, bestSeconds / floorSeconds);
    const double backupMs = BackupMilliseconds(config, folder.filePath("backups"));
    std::printf("a backup before a write: %.2f ms, %.2f%% of a read-out (no read of its own)\n",
                backupMs, backupMs / 10 / bestSeconds);
    const bool manyMet = BenchManyGateways(folder.filePath("read-outs"));
    return bestSeconds / floorSeconds <= 2.5 && manyMet ? 0 : 3;
}
