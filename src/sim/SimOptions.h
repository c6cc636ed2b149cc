#pragma once
// The command line of kv9052r-gateway-sim.

#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

#include "sim/ConsoleEmulator.h"

namespace kv::sim {

enum class StartImage { Factory, Demo, Maximal };

struct SimOptions {
    ControllerModel Model = ControllerModel::Q5308RT;
    QString EepromPath;                      // empty: the EEPROM lives in memory only
    StartImage Image = StartImage::Factory;  // for a new EEPROM file or none
    int ComNumber = 0;                       // 0: not published as a COM port
    std::chrono::microseconds Latency{1000};
    bool LineSpeed = true;  // pace the console's output at 115200 bit/s
    ConsoleFaults Faults;
    QString TracePath;  // empty: no trace is kept
};

struct ParsedSimOptions {
    std::optional<SimOptions> Options;  // empty on an error or when help was asked for
    QString Error;
    QString Help;  // set when --help or --version was given: the text to print
};

// `arguments` start with the program name, as QCoreApplication::arguments() gives them.
ParsedSimOptions ParseSimOptions(const QStringList& arguments);

// The line that follows an error.
QString SimUsageLine();

}  // namespace kv::sim
