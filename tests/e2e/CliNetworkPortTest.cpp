// kv9052r-cli through ser2net, the serial port server, on the loopback: a telnet port with
// RFC 2217 and a raw TCP port, each before a virtual gateway of its own, give what the
// gateway's pseudo-terminal gives; a server that ends during a read-out is a clear failure.

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QStandardPaths>
#include <QTcpServer>
#include <algorithm>

#include "CliProcess.h"
#include "support/TestFiles.h"

namespace kv::test {
namespace {

bool Listening(quint16 port) { return !QTcpServer().listen(QHostAddress::LocalHost, port); }

// ser2net in the foreground with the settings of docs/network-ports.md, a port for each
// accepter and device on free ports. With `follow` what it reads from the devices comes out
// on its standard output, so that a test can follow a read-out; else it would fill the pipe.
struct Ser2net {
    explicit Ser2net(const QList<std::pair<QString, QString>>& accepterAndDevice, bool follow) {
        QString yaml;
        std::vector<std::unique_ptr<QTcpServer>> free;  // held together: no two the same
        for (const auto& [accepter, device] : accepterAndDevice) {
            free.push_back(std::make_unique<QTcpServer>());
            free.back()->listen(QHostAddress::LocalHost);
            Ports.append(free.back()->serverPort());
            yaml += QStringLiteral(
                        "connection: &port%1\n  accepter: %2,127.0.0.1,%1\n  connector: "
                        "serialdev,%3,115200n81,local\n  options:\n    chardelay: false\n"
                        "    trace-read: /dev/stdout\n")
                        .arg(Ports.back())
                        .arg(accepter, device);
        }
        free.clear();
        EXPECT_TRUE(WriteAll(Folder.filePath("ser2net.yaml"), yaml.toUtf8()));
        // -u: no lock files, which a killed server would leave behind.
        if (!follow) Process.setStandardOutputFile(QProcess::nullDevice());
        // Users' paths often lack /usr/sbin, where Debian puts it.
        QString program = QStandardPaths::findExecutable("ser2net");
        if (program.isEmpty()) program = QStandardPaths::findExecutable("ser2net", {"/usr/sbin"});
        EXPECT_FALSE(program.isEmpty()) << "ser2net is missing; scripts/setup installs it";
        Process.start(program, {"-n", "-u", "-c", Folder.filePath("ser2net.yaml")});
        for (QDeadlineTimer deadline(5000);
             !std::all_of(Ports.begin(), Ports.end(), Listening) && !deadline.hasExpired();)
            EXPECT_FALSE(Process.waitForFinished(10)) << Process.readAllStandardError().data();
    }
    ~Ser2net() {
        Process.kill();
        Process.waitForFinished();
    }

    QList<quint16> Ports;
    QTemporaryDir Folder;
    QProcess Process;
};

const QString Telnet = QStringLiteral("telnet(rfc2217),tcp(nodelay)");
const QString RawTcp = QStringLiteral("tcp(nodelay)");

TEST(CliNetworkPort, ReadApplyBackupAndRestoreGiveWhatTheGatewaysOwnPortGives) {
    SimulatorProcess direct, telnet, raw;
    for (auto [simulator, com] : {std::pair{&direct, "5"}, {&telnet, "6"}, {&raw, "7"}})
        simulator->Start({"--com", com, "--demo"});
    Ser2net server({{Telnet, telnet.Device}, {RawTcp, raw.Device}}, false);
    const QString folder = direct.Folder.path();
    QString edited = RunCli({"read", "--port", "COM5", "--json"}).Out;
    edited.replace(QStringLiteral("\"Length\": 10\n"), QStringLiteral("\"Length\": 12\n"));
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
            // A generous time-out: ser2net is one more process for a busy machine to run.
            const CliRun run = RunCli(arguments + QStringList{"--reply-timeout", "1000"});
            results << QString::number(run.ExitCode) + ' ' + run.Out;
        }
        return results << QString::fromLatin1(ReadAll(backup));
    };
    const QStringList expected = session("COM5", folder + "/direct.ini");
    EXPECT_TRUE(expected[3].startsWith("0 {") && expected[3].contains("\"Length\": 12\n"));
    const QString local = QStringLiteral("://127.0.0.1:%1");
    EXPECT_EQ(session("rfc2217" + local.arg(server.Ports[0]), folder + "/telnet.ini"), expected);
    EXPECT_EQ(session("socket" + local.arg(server.Ports[1]), folder + "/raw.ini"), expected);
}

TEST(CliNetworkPort, AServerThatEndsDuringAReadOutIsAClearFailureAndNothingIsWritten) {
    SimulatorProcess gateway;
    gateway.Start({"--com", "5", "--demo"});
    auto server = std::make_unique<Ser2net>(
        QList<std::pair<QString, QString>>{{RawTcp, gateway.Device}}, true);
    const QString port = QString::number(server->Ports[0]), out = gateway.Folder.filePath("out");
    QProcess cli;
    cli.start(KV_BIN_DIR "/kv9052r-cli",
              {"read", "--port", "socket://127.0.0.1:" + port, "--out-dir", out});
    // Some way into the read-out (the whole is some 4500 bytes) the server ends.
    for (qsizetype seen = 0; seen < 1000 && server->Process.waitForReadyRead(5000);)
        seen += server->Process.readAllStandardOutput().size();
    server.reset();
    ASSERT_TRUE(cli.waitForFinished(10000));
    EXPECT_EQ(cli.exitCode(), 1);
    // Closed, or reset when the killed server left bytes unread: the system's timing decides.
    EXPECT_TRUE(Matches(QString::fromLocal8Bit(cli.readAllStandardError()),
                        "The connection to the gateway at 127.0.0.1:%1 was lost: The remote host "
                        "... the connection.\n...",
                        port));
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList());
    // Nothing listens there any more; in the windows COM 9 says the same.
    ExpectRuns({{{"ports", "--assign", "COM9", "socket://127.0.0.1:%1"}, 0, "...", ""},
                {{"read", "--port", "COM9"},
                 1,
                 "",
                 "Can't open COM 9!\nCan't reach the gateway at 127.0.0.1:%1: the connection was "
                 "refused (is the serial port server running and is %1 its port?)."},
                {{"read", "--port", "socket://127.0.0.1:0"},
                 2,
                 "",
                 "socket://127.0.0.1:0 is no network port: ..."}},
               port);
}

}  // namespace
}  // namespace kv::test
