#include "platform/QtEventPump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>
#include <thread>

namespace kv {

void QtEventPump::Yield(std::chrono::microseconds maxWait) {
    using namespace std::chrono_literals;
    if (QAbstractEventDispatcher::instance() == nullptr) {
        std::this_thread::sleep_for(maxWait);  // no event loop to yield to
        return;
    }
    if (maxWait < 1ms) {
        // Qt's timers count whole milliseconds; a shorter pause is slept after the events.
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(maxWait);
        return;
    }
    // The timer is the event that ends the wait when nothing else happens first.
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    wakeUp.start(std::chrono::ceil<std::chrono::milliseconds>(maxWait));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace kv
