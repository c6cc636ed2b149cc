#pragma once

#include "platform/EventPump.h"

namespace kv {

// Yields to the Qt event loop of the calling thread (QCoreApplication or QApplication).
// Pending events are handled; when there are none the thread sleeps until the next event
// (data on an open serial port, a repaint, input) or until maxWait has passed.
class QtEventPump : public EventPump {
public:
    void Yield(std::chrono::microseconds maxWait) override;
};

}  // namespace kv
