// A write that stops half-way says so, names the backup and fails; the simulator traces
// the exchange.

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "CliProcess.h"
#include "support/TestFiles.h"

namespace kv::test {
namespace {

TEST(CliWriteSafety, ApplyThatStopsHalfWayFailsAndNamesTheBackup) {
    // 235 lines read the demo gateway; the 70th line after them writes COM1's settings.
    SimulatorProcess simulator;
    simulator.Start({"--com", "4", "--demo", "--stop-after", "305"});
    QTemporaryDir folder;
    ASSERT_TRUE(WriteAll(folder.filePath("t.json"), R"({"SerialClasses": [{"CmdTimeout": 500}]})"));
    ExpectRuns(
        {{{"apply", "--port", "COM4", "%1/t.json", "--eds-dir", "%1", "--backup-dir", "%1/b"},
          1,
          "The gateway's configuration was kept in %1/b/...",
          "Timeout\nThe gateway is partly written.\nTo get the earlier configuration back: "
          "kv9052r-cli apply --port P %1/b/...\nLast command sent: ..."}},
        folder.path());
}

TEST(CliWriteSafety, TheSimulatorTracesWhatWentOverTheWire) {
    QTemporaryDir folder;
    const QString trace = folder.filePath("sim-trace.txt");
    SimulatorProcess simulator;
    simulator.Start({"--com", "4", "--demo", "--trace", trace});
    ASSERT_EQ(RunCli({"read", "--port", "COM4"}).ExitCode, 0);
    simulator.Stop();

    // Each direction's text, joined: how the line cut it into chunks does not matter.
    QString received, sent;
    static const QRegularExpression event(R"(^ *\d+\.\d{3} (<-|->) (.*)$)");
    for (const QString& line : QString::fromUtf8(ReadAll(trace)).split('\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = event.match(line);
        ASSERT_TRUE(match.hasMatch()) << line.toStdString();
        (match.captured(1) == "<-" ? received : sent) += match.captured(2);
    }
    EXPECT_TRUE(received.contains("\\rblock 8\\r")) << received.left(300).toStdString();
    EXPECT_TRUE(sent.contains("\\r\\nq5308RT>"));
}

}  // namespace
}  // namespace kv::test
