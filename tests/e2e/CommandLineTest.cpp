// The three programs' command lines: help, version, and bad usage refused with status 2.

#include <gtest/gtest.h>

#include "CliProcess.h"

namespace kv::test {
namespace {

const QString Sim = QStringLiteral("kv9052r-gateway-sim");
const QString Utility = QStringLiteral("kv9052r-utility");

TEST(CommandLine, EveryCommandHasItsHelp) {
    for (const char* command :
         {"read", "apply", "eds", "factory-reset", "backup", "restore", "diff", "ports"}) {
        const CliRun run = RunCli({command, "--help"});
        EXPECT_EQ(run.ExitCode, 0) << command;
        EXPECT_TRUE(run.Out.startsWith(QStringLiteral("Usage: kv9052r-cli %1 ").arg(command)))
            << run.Out.toStdString();
        EXPECT_EQ(RunCli({"help", command}).Out, run.Out) << command;
        EXPECT_TRUE(RunCli({"--help"}).Out.contains(QStringLiteral("\n  %1 ").arg(command)));
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
                  program + ": Unknown option 'colour'.\nUsage: " + program + " [options]");
    }
    ExpectRuns({{{"--version"}, 0, "kv9052r-cli " KV_VERSION, ""},
                {{"read", "--port", "9", "--jsn"},
                 2,
                 "",
                 "kv9052r-cli: Unknown option 'jsn'.\n"
                 "Usage: kv9052r-cli read --port P [--port P...] [--json] [--out-dir DIR]"},
                {{"restore", "--port", "3"}, 2, "", "kv9052r-cli: FILE.ini missing\nUsage: ..."},
                {{"frobnicate"}, 2, "", "...unknown command 'frobnicate'\nUsage: kv9052r-cli ..."},
                {{"help", "Raed"}, 2, "", "...unknown command 'Raed'; did you mean 'read'?\n..."},
                {{}, 2, "", "kv9052r-cli: no command given\nUsage: kv9052r-cli COMMAND [OPTIONS]"}},
               {});
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
    EXPECT_TRUE(run.Out.startsWith("Usage: kv9052r-utility [options]\n")) << run.Out.toStdString();
}

}  // namespace
}  // namespace kv::test
