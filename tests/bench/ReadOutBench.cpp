// Times full read-outs of a maximal configuration against kv9052r-gateway-sim at
// 115200 bit/s and prints the wall time beside the line's floor: the bytes that crossed
// the line both ways at 11520 bytes/s plus the console's latency for every line.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>

#include "console/ConsoleLink.h"
#include "console/ReadOut.h"
#include "platform/QtSerialPort.h"
#include "platform/SteadyClock.h"

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
    for (int run = 0; run < Runs; ++run) {
        port.BytesIn = port.BytesOut = port.Lines = 0;
        if (!port.Open().ok()) {
            std::fprintf(stderr, "cannot open the virtual gateway's port\n");
            return 1;
        }
        kv::GatewayConfig config;
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
    return bestSeconds / floorSeconds <= 2.5 ? 0 : 3;
}
