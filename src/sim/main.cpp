// kv9052r-gateway-sim: a virtual KV-9052R gateway on a pseudo-terminal, for trying the
// utility without hardware and for the end-to-end tests.

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <optional>

#include "platform/WholeFile.h"
#include "sim/ComLink.h"
#include "sim/ConsoleEmulator.h"
#include "sim/DemoImages.h"
#include "sim/EepromFile.h"
#include "sim/PseudoTerminal.h"
#include "sim/PtyGateway.h"
#include "sim/SimOptions.h"
#include "sim/StopSignals.h"

namespace {

using namespace kv::sim;

void PrintError(const QString& text) {
    std::fprintf(stderr, "kv9052r-gateway-sim: %s\n", qPrintable(text));
}

// The EEPROM file follows the console's edits. It is written when the line is quiet and
// when the simulator stops, never between a command and its reply: the write waits for the
// disk, at times longer than the utility waits for a reply. A write that fails leaves the
// file as it was and makes the simulator's exit status 1.
struct EepromFileKeeper {
    QString Path;
    std::optional<kv::EepromImage> Unsaved;
    bool Failed = false;

    void Save() {
        if (!Unsaved) return;
        QString error;
        if (!SaveEepromFile(Path, *Unsaved, error)) {
            PrintError(error);
            Failed = true;
        }
        Unsaved.reset();
    }
};

// The EEPROM the gateway starts with; with a file, the file is kept up to date.
bool PrepareEeprom(const SimOptions& options, ConsoleEmulator& console, EepromFileKeeper& keeper) {
    const kv::EepromImage start = options.Image == StartImage::Demo      ? DemoImage()
                                  : options.Image == StartImage::Maximal ? MaximalImage()
                                                                         : FactoryImage();
    QString error;
    if (options.EepromPath.isEmpty()) {
        console.Eeprom = start;
        return true;
    }
    if (QFileInfo::exists(options.EepromPath)) {
        const std::optional<kv::EepromImage> stored = LoadEepromFile(options.EepromPath, error);
        if (!stored) {
            PrintError(error);
            return false;
        }
        console.Eeprom = *stored;
    } else {
        console.Eeprom = start;
        if (!SaveEepromFile(options.EepromPath, start, error)) {
            PrintError(error);
            return false;
        }
    }
    keeper.Path = options.EepromPath;
    console.EepromChanged = [&keeper](const kv::EepromImage& image) { keeper.Unsaved = image; };
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const ParsedSimOptions parsed = ParseSimOptions(QCoreApplication::arguments());
    if (!parsed.Help.isEmpty()) {
        std::fputs(qPrintable(parsed.Help), stdout);
        return 0;
    }
    if (!parsed.Options) {
        PrintError(parsed.Error);
        std::fprintf(stderr, "%s\n", qPrintable(SimUsageLine()));
        return 2;
    }
    const SimOptions& options = *parsed.Options;

    ConsoleEmulator console(options.Model);
    console.Latency = options.Latency;
    console.Faults = options.Faults;
    EepromFileKeeper eepromFile;
    if (!PrepareEeprom(options, console, eepromFile)) return 1;

    const StopSignals signals;
    PseudoTerminal terminal;
    QString error;
    if (!terminal.Open(error)) {
        PrintError(error);
        return 1;
    }
    ComLink link;
    if (options.ComNumber > 0 && !link.Publish(options.ComNumber, terminal.SlavePath(), error)) {
        PrintError(error);
        return 1;
    }
    const QString where =
        options.ComNumber > 0 ? QStringLiteral(" (COM %1)").arg(options.ComNumber) : QString();
    std::printf("Listening on %s%s\n", qPrintable(terminal.SlavePath()), qPrintable(where));
    std::fflush(stdout);

    PtyGateway gateway(console, terminal.MasterFd(), options.LineSpeed);
    gateway.Tracing = !options.TracePath.isEmpty();
    gateway.WhenQuiet = [&eepromFile] { eepromFile.Save(); };
    const bool served = gateway.Run(signals, error);
    eepromFile.Save();
    if (!served) PrintError(error);
    if (gateway.Tracing) {
        if (const QString failure =
                kv::WriteWholeFile(options.TracePath, gateway.Trace.Text().toUtf8());
            !failure.isEmpty()) {
            PrintError(options.TracePath + QStringLiteral(": ") + failure);
            return 1;
        }
    }
    return served && !eepromFile.Failed ? 0 : 1;
}
