#include "platform/DeviceAccess.h"

namespace kv {

// Without POSIX access rights a refused port is one that another program has open.
PortOpenResult PermissionRefused(const QString&, const QString& systemText) {
    return {PortOpenError::InUse, systemText};
}

}  // namespace kv
