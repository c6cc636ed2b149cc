#include "ui/appobj/SerialAttributesFrame.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "config/CommandChecks.h"
#include "config/WorkingCopy.h"
#include "ui/appobj/AttributeFrameLayout.h"
#include "ui/appobj/ControlNames.h"

namespace kv {

SerialAttributesFrame::SerialAttributesFrame(GatewayConfig& config, int classIndex, QWidget* parent)
    : ClassAttributesFrame(AttributeFrameTitle(classIndex), parent),
      config_(config),
      classIndex_(classIndex),
      Combo_COM_ConnMode(new QComboBox(this)),
      Text_COM_CmdTimeout(AttributeField(this, "Text_COM_CmdTimeout", classIndex, 5)),
      Btn_SetCOMClassAttr(new QPushButton(tr("Set"), this)) {
    NameControl(Combo_COM_ConnMode, "Combo_COM_ConnMode", classIndex);
    NameControl(Btn_SetCOMClassAttr, "Btn_SetCOMClassAttr", classIndex);
    Combo_COM_ConnMode->addItems({"NONE", "Modbus RTU", "Modbus ASCII"});

    auto* grid = new QGridLayout(this);
    AddLabelledField(grid, 0, 0, tr("Connection Mode"), Combo_COM_ConnMode);
    AddLabelledField(grid, 0, 2, tr("Command Timeout"), Text_COM_CmdTimeout);
    AddSetButton(grid, Btn_SetCOMClassAttr);

    connect(Combo_COM_ConnMode, &QComboBox::currentIndexChanged, this,
            &ClassAttributesFrame::connectionListChanged);
    connect(Btn_SetCOMClassAttr, &QPushButton::clicked, this, &SerialAttributesFrame::Set);
}

void SerialAttributesFrame::ShowStored() {
    const auto& record = config_.EditSerialClasses[classIndex_];
    {
        const QSignalBlocker quiet(Combo_COM_ConnMode);
        Combo_COM_ConnMode->setCurrentIndex(record.ConnMode <= 2 ? record.ConnMode : 0);
    }
    Text_COM_CmdTimeout->setText(NumberFieldText(record.CmdTimeout));
}

bool SerialAttributesFrame::ListShowsOn() const { return Combo_COM_ConnMode->currentIndex() > 0; }

void SerialAttributesFrame::SetAttributeFieldsEnabled(bool enabled) {
    Text_COM_CmdTimeout->setEnabled(enabled);
}

void SerialAttributesFrame::Set() {
    const auto attributes =
        ReadSerialClassAttributes(Combo_COM_ConnMode->currentIndex(), Text_COM_CmdTimeout->text());
    StoreSerialClassAttributes(config_, classIndex_, attributes);
    // A time-out outside 1..65535 is not kept; the field shows what was stored.
    if (attributes.CmdTimeout == 0) Text_COM_CmdTimeout->setText(QStringLiteral("0"));
    if (attributes.ConnMode != 0) Q_EMIT storedConnectionOn();
}

}  // namespace kv
