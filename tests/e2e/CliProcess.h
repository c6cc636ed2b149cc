#pragma once
// kv9052r-cli as a child process: its exit status and what it printed.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace kv::test {

struct CliRun {
    int ExitCode = -1;
    QString Out;  // without surrounding blank lines
    QString Err;
};

// One of the built programs, by name.
inline CliRun RunProgram(
    const QString& program, const QStringList& arguments,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KV_BIN_DIR "/") + program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed(),
            QString::fromLocal8Bit(process.readAllStandardError()).trimmed()};
}

inline CliRun RunCli(const QStringList& arguments) {
    return RunProgram(QStringLiteral("kv9052r-cli"), arguments);
}

}  // namespace kv::test
