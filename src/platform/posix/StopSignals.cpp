#include "platform/StopSignals.h"

#include <signal.h>

#include <array>
#include <cstddef>

namespace kv {
namespace {

constexpr std::array StopSignalNumbers = {SIGINT, SIGTERM};
std::array<struct sigaction, StopSignalNumbers.size()> earlier{};

}  // namespace

void InstallStopSignalHandler(StopSignalHandler handler) {
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < StopSignalNumbers.size(); ++i)
        sigaction(StopSignalNumbers[i], &action, &earlier[i]);
}

void RestoreStopSignalHandlers() {
    for (std::size_t i = 0; i < StopSignalNumbers.size(); ++i)
        sigaction(StopSignalNumbers[i], &earlier[i], nullptr);
}

}  // namespace kv
