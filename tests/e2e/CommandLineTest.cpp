// The three programs' command lines: help, version, and bad usage refused with status 2.

#include <gtest/gtest.h>

#include "CliProcess.h"
#include "cli/CommandRegistry.h"
#include "cli/Invocation.h"
#include "support/TestFiles.h"

namespace kv::test {
namespace {

const QString Sim = QStringLiteral("kv9052r-gateway-sim");
const QString Utility = QStringLiteral("kv9052r-utility");

TEST(CommandLine, EveryCommandHasItsHelp) {
    for (const char* command :
         {"read", "apply", "check", "eds", "factory-reset", "backup", "restore", "diff", "ports"}) {
        const CliRun run = RunCli({command, "--help"});
        EXPECT_EQ(run.ExitCode, 0) << command;
        EXPECT_TRUE(run.Out.startsWith(QStringLiteral("Usage: kv9052r-cli %1 ").arg(command)))
            << run.Out.toStdString();
        EXPECT_EQ(RunCli({"help", command}).Out, run.Out) << command;
        EXPECT_TRUE(RunCli({"--help"}).Out.contains(QStringLiteral("\n  %1 ").arg(command)));
    }
}

// The manual page has an entry for every command of the program's table.
TEST(CommandLine, TheManualPageHasEveryCommand) {
    QFile page(QStringLiteral(KV_CLI_MAN_PAGE));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray text = page.readAll();
    ASSERT_GE(cli::Commands().size(), 9);
    for (const cli::Command& command : cli::Commands())
        EXPECT_TRUE(text.contains(QByteArray(".TP\n.B ") + command.Name + ' ')) << command.Name;
}

// The bash completion offers each command the options it accepts and all of its own: it
// reads them from the program, so an option another command or a description names must
// not slip in.
TEST(CommandLine, TheBashCompletionOffersEachCommandItsOptions) {
    QStringList arguments = {"-c",
                             R"(source "$0"; for command in "${@:2}"; do
                                    COMP_WORDS=("$1" "$command" --); COMP_CWORD=2; _kv9052r_cli
                                    echo "${COMPREPLY[*]}"; done)",
                             KV_CLI_COMPLETION, KV_BIN_DIR "/kv9052r-cli"};
    for (const cli::Command& command : cli::Commands()) arguments.append(command.Name);
    QProcess bash;
    bash.start("bash", arguments);
    ASSERT_TRUE(bash.waitForFinished(30000));
    const QStringList lines = QString::fromUtf8(bash.readAllStandardOutput()).split('\n');
    ASSERT_GT(lines.size(), cli::Commands().size());
    for (qsizetype i = 0; i < cli::Commands().size(); ++i) {
        const cli::Command& command = cli::Commands()[i];
        const QStringList offered = lines[i].split(' ');
        for (const QString& option : offered) {
            QString out, err;
            QTextStream outStream(&out), errStream(&err);
            cli::RunCommandLine({"kv9052r-cli", command.Name, "--help", option}, outStream,
                                errStream);
            EXPECT_FALSE(err.contains("Unknown option"))
                << command.Name << " " << option.toStdString();
        }
        for (const QCommandLineOption& option : command.Options)
            for (const QString& name : option.names())
                EXPECT_TRUE(name.size() == 1 || offered.contains("--" + name))
                    << command.Name << " --" << name.toStdString();
    }
}

// Each program says its version; bad usage is refused with status 2 and the usage line.
TEST(CommandLine, EveryProgramSaysItsVersionAndRefusesBadUsage) {
    QProcessEnvironment offscreen = QProcessEnvironment::systemEnvironment();
    offscreen.insert("QT_QPA_PLATFORM", "offscreen");
    for (const QString& program : {Sim, Utility}) {
        const CliRun version = RunProgram(program, {"--version"});
        EXPECT_EQ(version.ExitCode, 0) << program.toStdString();
        EXPECT_EQ(version.Out, program + " " KV_VERSION);
        const CliRun run = RunProgram(program, {"--colour"}, offscreen);
        EXPECT_EQ(run.ExitCode, 2) << program.toStdString();
        // The last two lines: Qt may warn about the environment first.
        EXPECT_EQ(run.Err.section('\n', -2),
                  program + ": Unknown option 'colour'.\nUsage: " + program + " [options]" +
                      (program == Utility ? " [FILE.json]" : ""));
    }
    ExpectRuns({{{"--version"}, 0, "kv9052r-cli " KV_VERSION, ""},
                {{"read", "--port", "9", "--jsn"},
                 2,
                 "",
                 "kv9052r-cli: Unknown option 'jsn'; did you mean '--json'?\n"
                 "Usage: kv9052r-cli read --port P [--port P...] [--json [--texts] [--no-derived]] "
                 "[--out-dir DIR]"},
                {{"restore", "--port", "3"}, 2, "", "kv9052r-cli: FILE.ini missing\nUsage: ..."},
                {{"frobnicate"}, 2, "", "...unknown command 'frobnicate'\nUsage: kv9052r-cli ..."},
                {{"help", "Raed"}, 2, "", "...unknown command 'Raed'; did you mean 'read'?\n..."},
                {{}, 2, "", "kv9052r-cli: no command given\nUsage: kv9052r-cli COMMAND [OPTIONS]"}},
               {});
}

// One rule over the commands: 1 for a port or gateway that failed, 2 for bad usage and for
// an input that cannot be read or parsed.
TEST(CommandLine, ExitStatusesFollowOneRule) {
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path()));  // the port assignments
    ASSERT_TRUE(WriteAll(folder.filePath("c.json"), R"({"DeviceNetParams": {"NodeId": 3}})"));
    ASSERT_TRUE(WriteAll(folder.filePath("t.csv"), "Instance;NetId\n"));
    ASSERT_TRUE(WriteAll(folder.filePath("w.json"), R"({"EthernetParams": {"Mask": "0.0.0.0"}})"));
    ASSERT_TRUE(WriteAll(folder.filePath("p.json"), R"({"DeviceNetParams": {"NodeId": 64}})"));
    ASSERT_TRUE(QDir(folder.path()).mkpath("kv9052r"));
    ASSERT_TRUE(
        WriteAll(folder.filePath("kv9052r/ports.conf"), QByteArray("COM4=/dev/null\0", 15)));
    const QString refused =
        "%1/kv9052r/ports.conf line 1: COM4 holds a control character (U+0000); mend the line or "
        "assign the port again.";
    ExpectRuns(
        {{{"read", "--port", "COM99"}, 1, "", "There is no COM99: ports are COM 1 to COM 16"},
         {{"ports", "--assign", "COM17", "/dev/null"}, 1, "", "There is no COM17: ..."},
         {{"ports", "--assign", "COM2", "/dev/null"}, 0, "COM 2 is /dev/null (kept in ...)", ""},
         {{"ports", "--assign", "COM3", "/dev/null"},
          2,
          "",
          "/dev/null is already COM 2; two COM numbers for one device would let two programs "
          "share it. Add --force to assign it anyway."},
         {{"read", "--port", "COM16"}, 1, "", "Can't open COM 16!\nNo device is behind COM 16."},
         {{"read", "--port", "COM4"}, 1, "", "Can't open COM 4!\n" + refused},
         {{"ports"},
          0,
          "...COM 4   (none: assignment refused)\n        reason: " + refused + "\n...",
          ""},
         {{"read", "--port", "COM16,16"}, 2, "", "COM16 and 16 are one port: name each port once."},
         {{"read", "--port", "COM2,/dev/null"},
          2,
          "",
          "COM2 and /dev/null are one port: name each port once."},
         {{"read", "--port", "/dev/null"}, 1, "", "Can't open /dev/null!\n..."},
         {{"eds", "--port", "COM16"}, 1, "", "Can't open COM 16!..."},
         {{"read", "--port", "COM16", "--out-dir", "%1/c.json"},
          1,
          "",
          "Can't make the folder %1/c.json: a file of that name is in the way"},
         {{"diff", "%1/c.json", "COM16"}, 1, "", "Can't open COM 16!..."},
         {{"factory-reset", "--port", "COM16", "--yes", "--no-backup"}, 1, "", "Can't open..."},
         {{"apply", "--port", "COM16", "%1/none.json"}, 2, "", "%1/none.json: ..."},
         {{"diff", "%1/none.json", "COM16"}, 2, "", "Cannot read %1/none.json: ..."},
         {{"commands", "%1/none.json", "--class", "COM1"}, 2, "", "%1/none.json: ..."},
         {{"commands", "%1/c.json", "--class", "COM1", "--set", "%1/t.csv", "-o", "%1/o.json"},
          2,
          "",
          "%1/t.csv: row 1: the header names no column FunctionCode...Nothing was written."},
         {{"commands", "%1/c.json", "--class", "COM1", "--set", "%1/t.csv"},
          2,
          "",
          "--set writes to -o OUT.json, or over CONFIG.json with --in-place: give one"},
         {{"restore", "--port", "COM16", "%1/c.json"},
          2,
          "",
          "%1/c.json is a configuration file, not an EEPROM backup: write it with kv9052r-cli "
          "apply."},
         {{"restore", "--port", "COM16", "%1/none.ini"}, 2, "", "..."},
         {{"check", "%1/c.json"}, 0, "No problems, no warnings.", ""},
         {{"check", "%1/w.json"},
          3,
          "Warning: EthernetParams.Mask: 0.0.0.0 is no network mask\n0 problems, 1 warning.",
          ""},
         {{"check", "%1/w.json", "--strict"},
          4,
          "Problem: EthernetParams.Mask: 0.0.0.0 is no network mask\n1 problem, 0 warnings.",
          ""},
         {{"check", "%1/p.json"},
          4,
          "Problem: DeviceNetParams.NodeId: Node ID is not supported!(0~63)\n"
          "1 problem, 0 warnings.",
          ""},
         {{"check", "COM16"}, 1, "", "Can't open COM 16!..."}},
        folder.path());
    qunsetenv("XDG_CONFIG_HOME");
}

// A run over many ports ends with its worst port's status: failed, then problems, then
// findings, then success.
// A result that cannot reach standard output fails the run, whatever the command found.
TEST(CommandLine, AResultThatCannotBeWrittenFailsTheRun) {
    QProcess cli;
    cli.setStandardOutputFile(QStringLiteral("/dev/full"));
    cli.start(QStringLiteral(KV_BIN_DIR "/kv9052r-cli"), {"ports", "--json"});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 1);
    const QString err = QString::fromLocal8Bit(cli.readAllStandardError()).trimmed();
    EXPECT_TRUE(
        Matches(err, "...\nStandard output could not be written: No space left on device", {}))
        << err.toStdString();
}

TEST(CommandLine, ManyPortsEndWithTheWorstStatus) {
    const struct {
        int A, B, Worse;
    } rows[] = {{0, 3, 3}, {3, 4, 4}, {4, 1, 1}, {1, 3, 1}, {4, 0, 4}, {0, 0, 0}};
    for (const auto& row : rows) {
        EXPECT_EQ(cli::WorseStatus(row.A, row.B), row.Worse) << row.A << " " << row.B;
        EXPECT_EQ(cli::WorseStatus(row.B, row.A), row.Worse) << row.B << " " << row.A;
    }
}

TEST(CommandLine, TheUtilityWithoutADisplayPointsToTheCli) {
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        noDisplay.remove(name);
    CliRun run = RunProgram(Utility, {}, noDisplay);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Err,
              "kv9052r-utility: there is no display to show windows on (neither DISPLAY nor "
              "WAYLAND_DISPLAY is set); kv9052r-cli does the same work without windows.");
    run = RunProgram(Utility, {"--help"}, noDisplay);
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(run.Out.startsWith("Usage: kv9052r-utility [options] [FILE.json]\n"))
        << run.Out.toStdString();
}

}  // namespace
}  // namespace kv::test
