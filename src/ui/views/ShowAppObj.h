#pragma once
// "Application Object Information": the editor's working copy as a DeviceNet master sees
// it, classes 0x65..0x6A with their instances and six attributes. Filled once when it
// opens; closing it discards it. "Test All" probes every class's commands (ProbePanel).

#include <QWidget>

#include "config/GatewayConfig.h"
#include "modbus/ProbeRecord.h"

namespace kv {

class ShowAppObj : public QWidget {
    Q_OBJECT

public:
    explicit ShowAppObj(const GatewayConfig& config, QWidget* parent = nullptr);

Q_SIGNALS:
    void probed(const kv::ProbeRecord& record);
};

}  // namespace kv
