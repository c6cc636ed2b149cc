#pragma once
// "Device Information": the Modbus side of the editor's working copy, the serial ports and
// the TCP server connections in use with their commands. Filled once when it opens;
// closing it discards it, so the next opening shows the current state.

#include <QWidget>

#include "config/GatewayConfig.h"

namespace kv {

class ShowModule : public QWidget {
    Q_OBJECT

public:
    explicit ShowModule(const GatewayConfig& config, QWidget* parent = nullptr);
};

}  // namespace kv
