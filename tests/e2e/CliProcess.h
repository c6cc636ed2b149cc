#pragma once
// kv9052r-cli as a child process: its exit status and what it printed.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>

namespace kv::test {

struct CliRun {
    int ExitCode = -1;
    QString Out;  // without surrounding blank lines
    QString Err;
};

inline CliRun RunCli(const QStringList& arguments) {
    QProcess cli;
    cli.start(QStringLiteral(KV_BIN_DIR "/kv9052r-cli"), arguments);
    EXPECT_TRUE(cli.waitForFinished(60000));
    return {cli.exitCode(), QString::fromLocal8Bit(cli.readAllStandardOutput()).trimmed(),
            QString::fromLocal8Bit(cli.readAllStandardError()).trimmed()};
}

}  // namespace kv::test
