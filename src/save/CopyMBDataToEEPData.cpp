#include "save/CopyMBDataToEEPData.h"

#include "config/WorkingCopy.h"

namespace kv {

void CopyMBDataToEEPData(GatewayConfig& config) {
    for (int k = 0; k < SerialClassCount; ++k) {
        const SerialClassRecord& edited = config.EditSerialClasses[k];
        SerialClassRecord& stored = config.SerialClasses[k];
        CopyClassAttributes(edited, stored);
        stored.CmdCount = edited.CmdCount;
        stored.Commands = edited.Commands;
    }
    config.TcpClasses = config.EditTcpClasses;
}

}  // namespace kv
