#pragma once
// kv9052r-gateway-sim as a child process, published in a port folder of the test's own.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace kv::test {

// The end-to-end programs need an application object for QSerialPort and QProcess.
inline void EnsureCoreApplication() {
    static int argc = 1;
    static char name[] = "e2e_tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
}

class SimulatorProcess {
public:
    // The port folder, and an empty configuration folder (no assigned ports), are the
    // test's own; simulators made one after another before any starts share the last one's.
    SimulatorProcess() {
        qputenv("KV9052R_PORT_DIR", QFile::encodeName(Folder.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(Folder.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(Folder.path()));
    }
    ~SimulatorProcess() {
        Stop();
        qunsetenv("KV9052R_PORT_DIR");
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
    }

    // Starts the simulator and waits for it to say where it listens.
    void Start(const QStringList& arguments) {
        process_.setProgram(QStringLiteral(KV_BIN_DIR "/kv9052r-gateway-sim"));
        process_.setArguments(arguments);
        process_.start();
        ASSERT_TRUE(process_.waitForStarted(5000));
        while (!process_.canReadLine())
            ASSERT_TRUE(process_.waitForReadyRead(5000)) << process_.readAllStandardError().data();
        const QString line = QString::fromLocal8Bit(process_.readLine()).trimmed();
        static const QRegularExpression listening(R"(^Listening on (/dev/\S+) \(COM \d+\)$)");
        const auto match = listening.match(line);
        ASSERT_TRUE(match.hasMatch()) << line.toStdString();
        Device = match.captured(1);
    }

    void Stop() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.terminate();
        EXPECT_TRUE(process_.waitForFinished(5000));
        EXPECT_EQ(process_.exitCode(), 0) << process_.readAllStandardError().data();
    }

    QTemporaryDir Folder;
    QString Device;

private:
    QProcess process_;
};

}  // namespace kv::test
