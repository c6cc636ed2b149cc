#pragma once
// The built programs as child processes: kv9052r-cli and the other two run to their end,
// kv9052r-gateway-sim kept running, published in a port folder of the test's own.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>

#include "support/CoreApplication.h"

namespace kv::test {

// Run in each program started while it is set, before the program (a resource limit).
inline std::function<void()> ChildSetup;

struct CliRun {
    int ExitCode = -1;
    QString Out;  // without surrounding blank lines
    QString Err;
};

// One of the built programs, by name.
inline CliRun RunProgram(
    const QString& program, const QStringList& arguments,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    EnsureCoreApplication();
    QProcess process;
    process.setProcessEnvironment(environment);
    if (ChildSetup) process.setChildProcessModifier(ChildSetup);
    process.start(QStringLiteral(KV_BIN_DIR "/") + program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed(),
            QString::fromLocal8Bit(process.readAllStandardError()).trimmed()};
}

inline CliRun RunCli(const QStringList& arguments) {
    return RunProgram(QStringLiteral("kv9052r-cli"), arguments);
}

// Whether `text` is the whole of `expected`, where "..." stands for any text and "%1" for
// `folder`.
inline bool Matches(const QString& text, const QString& expected, const QString& folder) {
    QStringList pieces = QString(expected).replace("%1", folder).split("...");
    for (QString& piece : pieces) piece = QRegularExpression::escape(piece);
    return QRegularExpression(QRegularExpression::anchoredPattern(pieces.join(".*")),
                              QRegularExpression::DotMatchesEverythingOption)
        .match(text)
        .hasMatch();
}

// A run of kv9052r-cli and what it must print (Matches). "%1" in the arguments stands for
// `folder` too.
struct CliCase {
    QStringList Arguments;
    int ExitCode;
    QString Out;
    QString Err;
};

inline void ExpectRuns(std::initializer_list<CliCase> cases, const QString& folder) {
    for (const CliCase& c : cases) {
        QStringList arguments = c.Arguments;
        arguments.replaceInStrings("%1", folder);
        const CliRun run = RunCli(arguments);
        SCOPED_TRACE(arguments.join(' ').toStdString());
        EXPECT_EQ(run.ExitCode, c.ExitCode) << run.Err.toStdString();
        EXPECT_TRUE(Matches(run.Out, c.Out, folder)) << run.Out.toStdString();
        EXPECT_TRUE(Matches(run.Err, c.Err, folder)) << run.Err.toStdString();
    }
}

class SimulatorProcess {
public:
    // The port folder, and an empty configuration folder (no assigned ports), are the
    // test's own; simulators made one after another before any starts share the last one's.
    SimulatorProcess() {
        for (const char* name : Variables) qputenv(name, QFile::encodeName(Folder.path()));
    }
    ~SimulatorProcess() {
        Stop();
        for (const char* name : Variables) qunsetenv(name);
    }

    // Starts the simulator and waits for it to say where it listens.
    void Start(const QStringList& arguments) {
        process_.setProgram(QStringLiteral(KV_BIN_DIR "/kv9052r-gateway-sim"));
        process_.setArguments(arguments);
        if (ChildSetup) process_.setChildProcessModifier(ChildSetup);
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

    // What the simulator printed on stderr.
    QString Stop(int exitCode = 0) {
        if (process_.state() == QProcess::NotRunning) return {};
        process_.terminate();
        EXPECT_TRUE(process_.waitForFinished(5000));
        const QString err = QString::fromLocal8Bit(process_.readAllStandardError()).trimmed();
        EXPECT_EQ(process_.exitCode(), exitCode) << err.toStdString();
        return err;
    }

    QTemporaryDir Folder;
    QString Device;

private:
    static constexpr const char* Variables[] = {"KV9052R_PORT_DIR", "XDG_CONFIG_HOME",
                                                "XDG_DATA_HOME"};
    bool applicationMade_ = EnsureCoreApplication();
    QProcess process_;
};

}  // namespace kv::test
