// kv9052r-cli through ser2net, the serial port server, on the loopback: a telnet port with
// RFC 2217 and a raw TCP port, each before a virtual gateway of its own, give what the
// gateway's pseudo-terminal gives; a server that ends during a read-out is a clear failure.

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QTcpServer>
#include <algorithm>

#include "CliProcess.h"
#include "support/TestFiles.h"

namespace kv::test {
namespace {

bool Listening(quint16 port) { return !QTcpServer().listen(QHostAddress::LocalHost, port); }

// ser2net in the foreground with the settings of docs/network-ports.md, one port for each
// accepter and device. What it reads from the devices comes out on its standard output, so
// that a test can follow a read-out.
class Ser2net {
public:
    explicit Ser2net(const QList<std::pair<QString, QString>>& accepterAndDevice) {
        QList<std::unique_ptr<QTcpServer>> free;  // held together, so that no two are the same
        QString yaml;
        for (const auto& [accepter, device] : accepterAndDevice) {
            free.append(std::make_unique<QTcpServer>());
            free.back()->listen(QHostAddress::LocalHost);
            Ports.append(free.back()->serverPort());
            yaml += QStringLiteral(
                        "connection: &port%1\n  accepter: %2,127.0.0.1,%1\n"
                        "  connector: serialdev,%3,115200n81,local\n"
                        "  options:\n    chardelay: false\n    trace-read: /dev/stdout\n")
                        .arg(Ports.back())
                        .arg(accepter, device);
        }
        free.clear();
        EXPECT_TRUE(WriteAll(folder_.filePath("ser2net.yaml"), yaml.toUtf8()));
        // -u: no lock files, which a stopped server would leave behind.
        process_.start("ser2net", {"-n", "-u", "-c", folder_.filePath("ser2net.yaml")});
        const QDeadlineTimer deadline(5000);
        while (!std::all_of(Ports.begin(), Ports.end(), Listening) && !deadline.hasExpired())
            EXPECT_FALSE(process_.waitForFinished(10)) << process_.readAllStandardError().data();
    }
    ~Ser2net() { Stop(); }
    void Stop() {
        process_.kill();
        process_.waitForFinished();
    }
    // Waits until the devices have sent `bytes` bytes through the server.
    void WaitForTraffic(qsizetype bytes) {
        QByteArray seen;
        while (seen.size() < bytes && process_.waitForReadyRead(5000))
            seen += process_.readAllStandardOutput();
        EXPECT_GE(seen.size(), bytes);
    }

    QList<quint16> Ports;

private:
    QTemporaryDir folder_;
    QProcess process_;
};

const QString Telnet = QStringLiteral("telnet(rfc2217),tcp(nodelay)");
const QString RawTcp = QStringLiteral("tcp(nodelay)");

TEST(CliNetworkPort, ReadApplyBackupAndRestoreGiveWhatTheGatewaysOwnPortGives) {
    SimulatorProcess direct, telnet, raw;
    for (auto [simulator, com] : {std::pair{&direct, "5"}, {&telnet, "6"}, {&raw, "7"}})
        simulator->Start({"--com", com, "--demo"});
    Ser2net server({{Telnet, telnet.Device}, {RawTcp, raw.Device}});
    const QString folder = direct.Folder.path();
    QString edited = RunCli({"read", "--port", "COM5", "--json"}).Out;
    edited.replace(QStringLiteral("\"Length\": 10,"), QStringLiteral("\"Length\": 12,"));
    ASSERT_TRUE(WriteAll(folder + "/edited.json", edited.toUtf8()));

    // Exit status and output of each step, and the backup file.
    const auto session = [&](const QString& port, const QString& backup) {
        QStringList results;
        for (const QStringList& arguments : {QStringList{"read", "--port", port, "--json"},
                                             {"backup", "--port", port, backup},
                                             {"apply", "--port", port, folder + "/edited.json",
                                              "--backup-dir", folder, "--eds-dir", folder},
                                             {"read", "--port", port, "--json"},
                                             {"restore", "--port", port, backup}}) {
            const CliRun run = RunCli(arguments);
            results << QString::number(run.ExitCode) + ' ' + run.Out;
        }
        return results << QString::fromLatin1(ReadAll(backup));
    };
    const QStringList expected = session("COM5", folder + "/direct.ini");
    EXPECT_TRUE(expected[3].startsWith("0 {") && expected[3].contains("\"Length\": 12,"));
    const QString local = QStringLiteral("://127.0.0.1:%1");
    EXPECT_EQ(session("rfc2217" + local.arg(server.Ports[0]), folder + "/telnet.ini"), expected);
    EXPECT_EQ(session("socket" + local.arg(server.Ports[1]), folder + "/raw.ini"), expected);
}

TEST(CliNetworkPort, AServerThatEndsDuringAReadOutIsAClearFailureAndNothingIsWritten) {
    SimulatorProcess gateway;
    gateway.Start({"--com", "5", "--demo"});
    Ser2net server({{RawTcp, gateway.Device}});
    const QString port = QString::number(server.Ports[0]), out = gateway.Folder.filePath("out");
    QProcess cli;
    cli.start(KV_BIN_DIR "/kv9052r-cli",
              {"read", "--port", "socket://127.0.0.1:" + port, "--out-dir", out});
    server.WaitForTraffic(1000);
    server.Stop();
    ASSERT_TRUE(cli.waitForFinished(10000));
    EXPECT_EQ(cli.exitCode(), 1);
    EXPECT_TRUE(Matches(QString::fromLocal8Bit(cli.readAllStandardError()),
                        "The connection to the gateway at 127.0.0.1:%1 was lost: The remote host "
                        "closed the connection.\n...",
                        port));
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList());
}

}  // namespace
}  // namespace kv::test
