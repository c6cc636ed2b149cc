#pragma once
// The controller's text console as the gateway's serial line sees it: it echoes every
// character, answers each line after the carriage return and ends every answer with its
// prompt. It holds the EEPROM and the Ethernet settings the commands read and change.
//
//   main prompt   "q5308RT>"         ip, mask, gateway [address], use eeprom, quit
//   block prompt  "EEPROM block 0]"  block N, e A, ., quit
//   edit prompt   "B(16)=12 -->"     a value 0..255 (stores it, moves on), e A, ., quit

#include <QByteArray>
#include <QStringList>
#include <chrono>
#include <functional>

#include "config/EepromImage.h"
#include "config/GatewayConfig.h"
#include "sim/ControllerModel.h"

namespace kv::sim {

// Misbehaviour on demand, for tests of the utility's failure paths. Each counts the lines
// the console has received; negative means the fault is off.
struct ConsoleFaults {
    // The console answers this many lines and then goes silent for good (no echo either).
    int StopAfterLines = -1;
    // Everything printed for the lines after this many is junk that holds no prompt.
    int GarbleAfterLines = -1;
    // The answer to the line after this many is followed by blanks that never stop.
    int NeverQuietAfterLines = -1;
    // Line noise on one answer: the first answer that holds NoiseFrom has it replaced by
    // NoiseTo (a byte changed, lost or added). Empty: off.
    QByteArray NoiseFrom;
    QByteArray NoiseTo;
};

// What the console prints in return for one character from the PC.
struct ConsoleOutput {
    QByteArray Echo;             // printed at once
    QByteArray Answer;           // printed after the console's latency (the line was complete)
    bool EndlessBlanks = false;  // after the answer, blanks keep coming forever
};

enum class ConsoleMode { Main, Block, Edit };

class ConsoleEmulator {
public:
    explicit ConsoleEmulator(ControllerModel model = ControllerModel::Q5308RT);

    ConsoleOutput Receive(char byte);
    // Everything printed for `bytes`, echo and answers in order; for tests without timing.
    QByteArray Feed(const QByteArray& bytes);

    ControllerModel Model() const { return model_; }
    QByteArray MainPrompt() const;
    ConsoleMode Mode() const { return mode_; }

    // Every line received, without its carriage return, in order.
    const QStringList& ReceivedLines() const { return lines_; }
    int LinesReceived() const { return static_cast<int>(lines_.size()); }

    EepromImage Eeprom;
    EthernetParams Network = FactoryNetwork();
    ConsoleFaults Faults;
    // From the carriage return of a line to the first character of its answer.
    std::chrono::microseconds Latency{1000};
    // Called with the whole EEPROM after each completed change: when an edit that stored
    // a different value ends (".", "quit", or the value for address 255).
    std::function<void(const EepromImage&)> EepromChanged;

    static EthernetParams FactoryNetwork();

private:
    QByteArray Answer(const QString& line);
    QByteArray AnswerAtMain(const QStringList& words);
    QByteArray AnswerAtBlock(const QStringList& words);
    QByteArray AnswerAtEdit(const QStringList& words);
    QByteArray AnswerNetwork(const QStringList& words);
    QByteArray OpenAddress(const QString& addressText);
    QByteArray StoreValue(int value);
    QByteArray LeaveEdit(ConsoleMode next);

    QByteArray BlockPrompt() const;
    QByteArray EditPrompt() const;
    QByteArray PromptOfMode() const;
    // The answer with the one-time line noise of Faults, if it is due.
    QByteArray AddNoise(QByteArray answer);
    bool IsSilent() const;
    bool IsGarbling() const;

    ControllerModel model_;
    ConsoleMode mode_ = ConsoleMode::Main;
    int block_ = 0;
    int address_ = 0;
    bool unsavedEdit_ = false;
    QByteArray typing_;
    QStringList lines_;
};

}  // namespace kv::sim
