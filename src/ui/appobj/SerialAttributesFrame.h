#pragma once
// Class attributes of a serial Modbus master (0x65 COM1, 0x66 COM2): connection mode and
// command time-out.

#include "config/GatewayConfig.h"
#include "ui/appobj/ClassAttributesFrame.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace kv {

class SerialAttributesFrame : public ClassAttributesFrame {
    Q_OBJECT
public:
    SerialAttributesFrame(GatewayConfig& config, int classIndex, QWidget* parent = nullptr);

    void ShowStored() override;
    bool ListShowsOn() const override;
    void SetAttributeFieldsEnabled(bool enabled) override;

private:
    void Set();

    GatewayConfig& config_;
    int classIndex_;
    QComboBox* Combo_COM_ConnMode;
    QLineEdit* Text_COM_CmdTimeout;
    QPushButton* Btn_SetCOMClassAttr;
};

}  // namespace kv
