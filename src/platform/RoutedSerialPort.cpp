#include "platform/RoutedSerialPort.h"

#include "platform/PortNaming.h"

namespace kv {

void RoutedSerialPort::SelectPort(int number) {
    number_ = number;
    device_.clear();
}

void RoutedSerialPort::SelectDevice(const QString& nameOrAddress) { device_ = nameOrAddress; }

PortOpenResult RoutedSerialPort::Open() {
    Close();
    network_.reset();
    const ComAssignment assigned = device_.isEmpty() ? AssignmentOf(number_) : ComAssignment();
    // A refused line may have been meant for this port: no other device is tried in its place.
    if (!assigned.Refused.isEmpty())
        return {PortOpenError::Other,
                QStringLiteral("Can't open COM %1!\n").arg(number_) + assigned.Refused, true};
    const QString named = device_.isEmpty() ? assigned.Device : device_;
    keptReplyTimeoutMs_ = assigned.ReplyTimeoutMs;
    if (LooksLikeNetworkAddress(named)) return OpenNetwork(named);
    if (device_.isEmpty())
        local_.SelectPort(number_);
    else
        local_.SelectDevice(device_);
    return local_.Open();
}

// A network port that fails to open is told as a local one would be, "Can't open COM n!",
// with the reason after it.
PortOpenResult RoutedSerialPort::OpenNetwork(const QString& address) {
    QString error;
    const std::optional<NetworkAddress> parsed = ParseNetworkAddress(address, error);
    PortOpenResult opened{PortOpenError::Other, error};
    if (parsed) {
        network_ = std::make_unique<NetworkSerialPort>(*parsed);
        network_->SelectPort(number_);
        opened = network_->Open();
    }
    if (!opened.ok() && device_.isEmpty()) {
        opened.Text = QStringLiteral("Can't open COM %1!\n").arg(number_) + opened.Text;
        opened.Worded = true;
    }
    return opened;
}

}  // namespace kv
