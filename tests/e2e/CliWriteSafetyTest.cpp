// A write that stops half-way says so, names the backup and fails; the tool's trace and the
// simulator's hold what went over the wire.

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "CliProcess.h"
#include "support/TestFiles.h"

namespace kv::test {
namespace {

TEST(CliWriteSafety, ApplyThatStopsHalfWayFailsNamesTheBackupAndIsTraced) {
    // 235 lines read the demo gateway; the 70th line after them writes COM1's settings.
    SimulatorProcess simulator;
    const QString folder = simulator.Folder.path();
    simulator.Start({"--com", "4", "--demo", "--stop-after", "305", "--trace", folder + "/sim"});
    ASSERT_TRUE(WriteAll(folder + "/t.json", R"({"SerialClasses": [{"CmdTimeout": 500}]})"));
    ExpectRuns({{{"apply", "--port", "COM4", "%1/t.json", "--eds-dir", "%1", "--backup-dir", "%1/b",
                  "--trace", "%1/cli"},
                 1,
                 "The gateway's configuration was kept in %1/b/...",
                 "Timeout\nThe gateway is partly written.\nTo get the earlier configuration back: "
                 "kv9052r-cli apply --port P %1/b/...\nLast command sent: \"..."}},
               folder);
    simulator.Stop();

    // The tool's trace holds every command sent, one event a line.
    QStringList sent;
    for (const QString& line : QString::fromLatin1(ReadAll(folder + "/cli")).split('\n'))
        if (line.contains(" -> ")) sent << line.section(" -> ", 1);
    EXPECT_EQ(sent.mid(0, 3), (QStringList{"\\r", "\\r", "\\r"}));
    for (const char* command : {"ip\\r", "mask\\r", "gateway\\r", "use eeprom\\r", "block 0\\r"})
        EXPECT_TRUE(sent.contains(command)) << command;

    // The simulator's: each direction's text, joined, as the line cut it into chunks.
    QString received, answered;
    static const QRegularExpression event(R"(^ *\d+\.\d{3} (<-|->) (.*)$)");
    for (const QString& line :
         QString::fromUtf8(ReadAll(folder + "/sim")).split('\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = event.match(line);
        ASSERT_TRUE(match.hasMatch()) << line.toStdString();
        (match.captured(1) == "<-" ? received : answered) += match.captured(2);
    }
    EXPECT_TRUE(received.contains("\\rblock 8\\r")) << received.left(300).toStdString();
    EXPECT_TRUE(answered.contains("\\r\\nq5308RT>"));
}

}  // namespace
}  // namespace kv::test
