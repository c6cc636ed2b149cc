#include "save/SaveReports.h"

#include "console/Messages.h"

namespace kv {

PortOpenResult OpenGatewayPort(SerialPort& port, int portNumber) {
    if (port.IsOpen()) return {};
    port.SelectPort(portNumber);
    port.ClearReceiveBuffer();
    return port.Open();
}

FailureReport ReportPortFailure(const PortOpenResult& result, int portNumber) {
    switch (result.Error) {
        case PortOpenError::InUse: {
            const QString text = ComOccupiedText(portNumber);
            return {text, {}, text};
        }
        case PortOpenError::Other:
            if (!result.Text.isEmpty()) return {result.Text, {}, QString()};
            break;
        case PortOpenError::None:
        case PortOpenError::NotOpened:
            break;
    }
    return {CantOpenComText(portNumber), QStringLiteral("Warning"), std::nullopt};
}

FailureReport ReportWriteFailure() {
    const QString text = QString::fromLatin1(TimeoutText);
    return {text, {}, text};
}

FailureReport ReportSaveFailure(const SaveOutcome& outcome) {
    if (outcome.Status == SaveStatus::EdsFileFailed) return {outcome.ErrorText, {}, QString()};
    return ReportWriteFailure();
}

QString ReadOutFailureText(ReadOutResult result) {
    switch (result) {
        case ReadOutResult::Ok:
            return {};
        case ReadOutResult::UnknownController:
            return QString::fromLatin1(UnknownControllerText);
        case ReadOutResult::Timeout:
            break;
    }
    return QString::fromLatin1(TimeoutText);
}

}  // namespace kv
