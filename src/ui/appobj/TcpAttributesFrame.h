#pragma once
// Class attributes of a Modbus TCP server connection (0x67..0x6A): whether it is used, the
// server's IP address and three time-outs.

#include <array>

#include "config/GatewayConfig.h"
#include "ui/appobj/ClassAttributesFrame.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace kv {

class Dialogs;

class TcpAttributesFrame : public ClassAttributesFrame {
    Q_OBJECT
public:
    TcpAttributesFrame(GatewayConfig& config, Dialogs& dialogs, int classIndex,
                       QWidget* parent = nullptr);

    void ShowStored() override;
    bool ListShowsOn() const override;
    void SetAttributeFieldsEnabled(bool enabled) override;

private:
    void Set();
    const TcpClassRecord& Stored() const;

    GatewayConfig& config_;
    Dialogs& dialogs_;
    int classIndex_;
    QComboBox* Combo_ConnValid;
    std::array<QLineEdit*, 4> Text_ServerIP;  // octets 1..4 in written order
    QLineEdit* Text_TCP_ConnTimeout;
    QLineEdit* Text_TCP_RetryConnTimeout;
    QLineEdit* Text_TCP_CommTimeout;
    QPushButton* Btn_SetTCPClassAttr;
};

}  // namespace kv
