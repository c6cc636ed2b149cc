#include "console/PortOpening.h"

#include "console/Messages.h"
#include "platform/PortHolder.h"

namespace kv {

FailureReport ReportPortFailure(const PortOpenResult& result, int portNumber,
                                const PortMessageTitles& titles) {
    switch (result.Error) {
        case PortOpenError::InUse: {
            const QString text = ComOccupiedText(portNumber);
            return {text, titles.InUse, text, ComPortHolderText(portNumber), titles.Kind};
        }
        case PortOpenError::Other:
            // A refusal without a reason would be an empty message box.
            if (!result.Text.isEmpty()) return {result.Text, {}, QString(), {}, {}};
            break;
        case PortOpenError::None:
        case PortOpenError::NotOpened:
            break;
    }
    return {CantOpenComText(portNumber), titles.NotOpened, std::nullopt, {}, titles.Kind};
}

}  // namespace kv
