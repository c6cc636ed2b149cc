#pragma once
// Why the system refused to open a serial device for lack of permission, in the platform's
// terms (posix/DeviceAccess.cpp, portable/DeviceAccess.cpp).

#include <QString>

#include "platform/SerialPort.h"

namespace kv {

// QSerialPort reports a port held by another program and a device this user may not use
// with the same error: InUse for the first, Other with a hint how to get access for the
// second.
PortOpenResult PermissionRefused(const QString& device, const QString& systemText);

}  // namespace kv
