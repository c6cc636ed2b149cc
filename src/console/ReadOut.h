#pragma once
// Reading a gateway: the handshake, the controller's identity, the Ethernet settings by
// console commands and the configuration blocks of the EEPROM, decoded into the model.

#include <QString>
#include <functional>

#include "config/GatewayConfig.h"
#include "console/ConsoleLink.h"

namespace kv {

enum class ReadOutResult {
    Ok,
    UnknownController,  // the prompt names none of the known controllers
    Timeout,            // a console command failed, timed out or gave a garbled reply
};

using ProgressFn = std::function<void(int value)>;

// Callers that show no progress (the CLI, the apply) pass an empty function.
inline void ReportProgress(const ProgressFn& progress, int value) {
    if (progress) progress(value);
}

// A stage of a longer operation: its own values first..last mapped onto from..to.
inline ProgressFn ProgressStage(const ProgressFn& progress, int from, int to, int first, int last) {
    if (!progress) return {};
    return [=](int value) { progress(from + (value - first) * (to - from) / (last - first)); };
}

// Brings the console from any mode to its main prompt: empty lines, ".", "quit", then
// one empty line that must be answered. True when the last one was answered.
bool RecoverConsole(ConsoleLink& link);

// Reads the Ethernet settings ("ip", "mask", "gateway") at the main prompt, which the link's
// ControllerPrompt names. False when a reply is missing or garbled.
bool ReadEthernetSettings(ConsoleLink& link, EthernetParams& ethernet);

// Finds the first known controller named in `reply`; empty when none is.
QString IdentifyController(const QString& reply);

// The most exchanges a read-out makes: the handshake (7), the Ethernet settings (3), EEPROM
// mode in and out (2), blocks 0 and 1 (45), both serial classes with ten commands (216) and
// the four TCP classes with five (278).
inline constexpr int ReadOutExchanges = 551;

// The read-out's last progress value.
inline constexpr int ReadOutProgressMaximum = 9;

// Runs the read-out on an open port; the caller opens and closes the port. Progress
// reports 1..9. On a failure the fields decoded so far stay in `config`.
ReadOutResult ReadGateway(ConsoleLink& link, GatewayConfig& config, const ProgressFn& progress);

// The message of a read-out that did not complete ("Timeout", or that the controller is
// not one of ours), as the main window and the CLI show it; empty for Ok.
QString ReadOutFailureText(ReadOutResult result, const LinkEndState& end = {});

}  // namespace kv
