#pragma once
// The gateway session: one thread that owns the serial port and the console link and runs
// the operations (read-out, save, factory reset, EEPROM copy) one at a time. The windows
// start an operation and hear of its progress and outcome by queued calls on their own
// thread; they never wait for the gateway themselves.

#include <QObject>
#include <QPointer>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

#include "console/ConsoleLink.h"
#include "console/ReadOut.h"
#include "platform/AimedPort.h"
#include "platform/Clock.h"

namespace kv {

// What the session talks through. Made on the session thread, since a serial port object
// belongs to the thread that uses it.
struct SessionDevices {
    std::shared_ptr<AimedPort> Port;
    std::shared_ptr<kv::Clock> Clock;
};
using SessionDeviceFactory = std::function<SessionDevices()>;

class GatewaySession : public QObject {
    Q_OBJECT

public:
    explicit GatewaySession(SessionDeviceFactory makeDevices, QObject* parent = nullptr);
    // Waits for a running operation to end, then closes the port on the session thread.
    ~GatewaySession() override;

    // Runs `work` on the session thread with the session's console link. `progress` and
    // `done` run later on the thread of `context`, and not at all once it is gone. Returns
    // false, and runs nothing, while another operation runs: a second request is refused,
    // never queued behind the first. Past `bound` every exchange of `work` fails at once and
    // the port is closed, whatever the port does.
    template <typename Result>
    bool Run(QObject* context, std::function<Result(ConsoleLink&, const ProgressFn&)> work,
             std::function<void(int)> progress, std::function<void(Result)> done,
             std::chrono::milliseconds bound = LongestOperation);

    // Enough for the longest operation: an apply reads, keeps a backup, writes and verifies.
    static constexpr std::chrono::milliseconds LongestOperation = ExchangesBound(4000);

    bool IsBusy() const { return busy_; }
    // Ends the running operation at its next console line, as a stop signal ends the command
    // line's (ConsoleLink::Stop); its outcome then comes as usual, with LastEnd() Stopped.
    // Safe from the window thread; an operation started later runs in full.
    void Cancel() { cancel_.Request(); }

    // What went over the wire during the last operation that ended, one line per event;
    // for the windows' failure boxes and "Save Console Trace...". Made into text here, when
    // asked, since most operations end without anyone looking.
    QString LastTrace() const { return lastTrace_.Text(); }
    bool LastHeardNothing() const { return lastTrace_.HeardNothing(); }
    // What the windows offer under "Show Details..." after a failure on COM `portNumber`:
    // the trace, after what to check when the gateway never answered (as the command line).
    QString LastDetails(int portNumber) const;
    // Why the last operation's exchanges ended at once (ConsoleLink::End); None when none
    // did.
    const LinkEndState& LastEnd() const { return lastEnd_; }
    // Whether the last operation sent a line that changes the gateway
    // (ConsoleLink::ChangeSent): one that ended early has partly written it.
    bool LastChangeSent() const { return lastChangeSent_; }

    // Closes a port held open between operations (by the EEPROM copy window) and returns
    // when it is closed. Not an operation of its own: it is never refused.
    void ReleasePort();

Q_SIGNALS:
    // After an operation's `done` ran.
    void Idle();

private:
    using Job = std::function<void(ConsoleLink&)>;
    bool Start(Job job, std::chrono::milliseconds bound);
    void RunOnSessionThread(const Job& job, std::chrono::milliseconds bound);
    // Calls `call` on the window thread, after the session is no longer busy.
    void PostToWindows(std::function<void()> call);
    static void CloseAfterFailure(ConsoleLink& link);
    void Finish(ConsoleTrace trace, LinkEndState end, bool changeSent,
                const std::function<void()>& done);

    SessionDeviceFactory makeDevices_;
    QThread thread_;
    QObject* worker_;  // lives on thread_; jobs are queued to it in order
    // Touched only on the session thread.
    SessionDevices devices_;
    std::unique_ptr<ConsoleLink> link_;
    std::atomic<bool> busy_ = false;
    StopRequest cancel_;      // asked by the link on the session thread
    ConsoleTrace lastTrace_;  // window thread only
    LinkEndState lastEnd_;    // window thread only
    bool lastChangeSent_ = false;
};

template <typename Result>
bool GatewaySession::Run(QObject* context,
                         std::function<Result(ConsoleLink&, const ProgressFn&)> work,
                         std::function<void(int)> progress, std::function<void(Result)> done,
                         std::chrono::milliseconds bound) {
    const QPointer<QObject> target(context);
    return Start(
        [this, target, work = std::move(work), progress = std::move(progress),
         done = std::move(done)](ConsoleLink& link) {
            const ProgressFn report = [this, target, progress](int value) {
                if (progress)
                    PostToWindows([target, progress, value] {
                        if (target) progress(value);
                    });
            };
            auto result = std::make_shared<Result>(work(link, report));
            CloseAfterFailure(link);  // before the window hears of the outcome
            // The trace moves on to the windows: every operation clears it before its first
            // line, and a copy would keep a read-out's trace twice.
            PostToWindows([this, target, done, result, trace = std::move(link.Trace),
                           end = link.End(), changeSent = link.ChangeSent()]() mutable {
                Finish(std::move(trace), std::move(end), changeSent, [&] {
                    if (target && done) done(std::move(*result));
                });
            });
        },
        bound);
}

}  // namespace kv
