#pragma once

#include <chrono>

namespace kv {

// Yields to the user interface while the console link waits. One call handles pending
// events and, when there are none, sleeps until the next event (incoming data, a
// repaint) or until maxWait has passed; it never spins a core.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void Yield(std::chrono::microseconds maxWait) = 0;
};

}  // namespace kv
