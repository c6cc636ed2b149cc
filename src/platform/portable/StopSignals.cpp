#include "platform/StopSignals.h"

#include <array>
#include <csignal>
#include <cstddef>

namespace kv {
namespace {

constexpr std::array StopSignalNumbers = {SIGINT, SIGTERM};
std::array<void (*)(int), StopSignalNumbers.size()> earlier{};

}  // namespace

void InstallStopSignalHandler(StopSignalHandler handler) {
    for (std::size_t i = 0; i < StopSignalNumbers.size(); ++i)
        earlier[i] = std::signal(StopSignalNumbers[i], handler);
}

void RestoreStopSignalHandlers() {
    for (std::size_t i = 0; i < StopSignalNumbers.size(); ++i)
        std::signal(StopSignalNumbers[i], earlier[i] == SIG_ERR ? SIG_DFL : earlier[i]);
}

}  // namespace kv
