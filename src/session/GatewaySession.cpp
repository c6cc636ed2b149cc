#include "session/GatewaySession.h"

#include <QMetaObject>

#include "console/Messages.h"
#include "platform/PortNaming.h"

namespace kv {

QString GatewaySession::LastDetails(int portNumber) const {
    return FailureDetails(LastHeardNothing(), ComPortText(portNumber), LastTrace());
}

GatewaySession::GatewaySession(SessionDeviceFactory makeDevices, QObject* parent)
    : QObject(parent), makeDevices_(std::move(makeDevices)), worker_(new QObject) {
    thread_.setObjectName(QStringLiteral("gateway session"));
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start();
}

GatewaySession::~GatewaySession() {
    // Queued behind any running job, so the port closes after it, on its own thread.
    ReleasePort();
    QMetaObject::invokeMethod(worker_, [this] {
        link_.reset();
        devices_ = {};
    });
    thread_.quit();
    thread_.wait();
}

void GatewaySession::ReleasePort() {
    // Waits for the close, so that the port is free when this returns. Closing takes no
    // time, and the windows call it only while no operation runs.
    QMetaObject::invokeMethod(
        worker_,
        [this] {
            if (devices_.Port && devices_.Port->IsOpen()) devices_.Port->Close();
        },
        Qt::BlockingQueuedConnection);
}

bool GatewaySession::Start(Job job, std::chrono::milliseconds bound) {
    bool expected = false;
    if (!busy_.compare_exchange_strong(expected, true)) return false;
    cancel_.Withdraw();  // a Cancel of an earlier operation
    QMetaObject::invokeMethod(
        worker_, [this, job = std::move(job), bound] { RunOnSessionThread(job, bound); });
    return true;
}

void GatewaySession::RunOnSessionThread(const Job& job, std::chrono::milliseconds bound) {
    if (!link_) {
        devices_ = makeDevices_();
        link_ = std::make_unique<ConsoleLink>(*devices_.Port, *devices_.Clock);
        link_->ReplyTimeoutMs = ConsoleReplyTimeoutMs;
        link_->Stop = &cancel_;
    }
    link_->Trace.Clear();
    link_->BoundOperation(bound);
    job(*link_);
}

void GatewaySession::CloseAfterFailure(ConsoleLink& link) {
    // Also a port that the EEPROM copy window holds open between transfers: the state of
    // the console behind it is unknown now, also after a Cancel that left it mid-sequence.
    if (link.End().Kind != LinkEnd::None && link.Port().IsOpen()) link.Port().Close();
}

void GatewaySession::PostToWindows(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void GatewaySession::Finish(ConsoleTrace trace, LinkEndState end, bool changeSent,
                            const std::function<void()>& done) {
    busy_ = false;
    lastTrace_ = std::move(trace);
    lastEnd_ = std::move(end);
    lastChangeSent_ = changeSent;
    done();
    Q_EMIT Idle();
}

}  // namespace kv
