#pragma once
// The port of the windows' session and of a command-line console: aimed at COM n or at what
// the command line names, and opened through OpenPort.h each time it opens, so that COM n
// means the same port in both and an assignment made meanwhile counts.

#include <memory>

#include "platform/AimedPort.h"
#include "platform/OpenPort.h"

namespace kv {

class RoutedSerialPort : public AimedPort {
public:
    void SelectPort(int number) override { choice_ = PortChoice::Com(number); }
    int SelectedPort() const override { return choice_.ComNumber; }
    // Opens this device path or network address instead of COM n.
    void SelectDevice(const QString& nameOrAddress) { choice_ = PortChoice::Device(nameOrAddress); }

    PortOpenResult Open() override;
    void Close() override {
        if (port_) port_->Close();
    }
    bool IsOpen() const override { return port_ && port_->IsOpen(); }
    void ClearReceiveBuffer() override {
        if (port_) port_->ClearReceiveBuffer();
    }
    int BytesWaiting() override { return port_ ? port_->BytesWaiting() : 0; }
    QByteArray ReadAll() override { return port_ ? port_->ReadAll() : QByteArray(); }
    int BytesToSend() override { return port_ ? port_->BytesToSend() : 0; }
    void Write(const QByteArray& bytes) override {
        if (port_) port_->Write(bytes);
    }
    void WaitForData(std::chrono::microseconds maxWait) override;
    QString LostReason() const override { return port_ ? port_->LostReason() : QString(); }
    std::chrono::milliseconds RoundTrip() const override {
        return port_ ? port_->RoundTrip() : std::chrono::milliseconds{};
    }
    int ReplyTimeoutMs() const override { return replyTimeoutMs_; }

private:
    PortChoice choice_ = PortChoice::Com(1);
    // The port that opened last, kept after it closed for the reason it was lost.
    std::unique_ptr<SerialPort> port_;
    int replyTimeoutMs_ = 0;
};

}  // namespace kv
