#include "console/PortOpening.h"

#include "console/Messages.h"

namespace kv {

PortOpenResult OpenGatewayPort(SerialPort& port, int portNumber) {
    if (port.IsOpen()) return {};
    port.SelectPort(portNumber);
    const PortOpenResult opened = port.Open();
    // Whatever the gateway sent before would be taken for the first reply.
    if (opened.ok()) port.ClearReceiveBuffer();
    return opened;
}

FailureReport ReportPortFailure(const PortOpenResult& result, int portNumber,
                                const PortMessageTitles& titles) {
    switch (result.Error) {
        case PortOpenError::InUse: {
            const QString text = ComOccupiedText(portNumber);
            return {text, titles.InUse, text};
        }
        case PortOpenError::Other:
            // A refusal without a reason would be an empty message box.
            if (!result.Text.isEmpty()) return {result.Text, {}, QString()};
            break;
        case PortOpenError::None:
        case PortOpenError::NotOpened:
            break;
    }
    return {CantOpenComText(portNumber), titles.NotOpened, std::nullopt};
}

}  // namespace kv
