#include "ui/appobj/TcpAttributesFrame.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "config/CommandChecks.h"
#include "config/WorkingCopy.h"
#include "ui/appobj/AttributeFrameLayout.h"
#include "ui/appobj/ControlNames.h"
#include "ui/common/Dialogs.h"

namespace kv {

namespace {

// The four octet fields side by side with dots between them, as an address is written.
QWidget* OctetRow(QWidget* parent, const std::array<QLineEdit*, 4>& octets) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (size_t i = 0; i < octets.size(); ++i) {
        if (i > 0) layout->addWidget(new QLabel(QStringLiteral("."), row));
        octets[i]->setParent(row);
        octets[i]->setAlignment(Qt::AlignCenter);
        layout->addWidget(octets[i]);
    }
    layout->addStretch();
    row->setFocusProxy(octets[0]);
    return row;
}

}  // namespace

TcpAttributesFrame::TcpAttributesFrame(GatewayConfig& config, Dialogs& dialogs, int classIndex,
                                       QWidget* parent)
    : ClassAttributesFrame(AttributeFrameTitle(classIndex), parent),
      config_(config),
      dialogs_(dialogs),
      classIndex_(classIndex),
      Combo_ConnValid(new QComboBox(this)),
      Btn_SetTCPClassAttr(new QPushButton(tr("Set"), this)) {
    const int connection = classIndex - SerialClassCount;
    NameControl(Combo_ConnValid, "Combo_ConnValid", connection);
    NameControl(Btn_SetTCPClassAttr, "Btn_SetTCPClassAttr", connection);
    Combo_ConnValid->addItems({"NO", "YES"});
    // Text_ServerIP1 holds the octets of connection 0, Text_ServerIP2 of connection 1, ...
    const QString octetArray = QStringLiteral("Text_ServerIP%1").arg(connection + 1);
    for (int i = 0; i < 4; ++i) {
        Text_ServerIP[i] = AttributeField(this, octetArray, i, 3);
        Text_ServerIP[i]->setAccessibleName(tr("Server IP octet %1").arg(i + 1));
    }
    Text_TCP_ConnTimeout = AttributeField(this, "Text_TCP_ConnTimeout", connection, 5);
    Text_TCP_RetryConnTimeout = AttributeField(this, "Text_TCP_RetryConnTimeout", connection, 5);
    Text_TCP_CommTimeout = AttributeField(this, "Text_TCP_CommTimeout", connection, 5);

    auto* grid = new QGridLayout(this);
    AddLabelledField(grid, 0, 0, tr("Connection Valid"), Combo_ConnValid);
    AddLabelledField(grid, 1, 0, tr("Server IP"), OctetRow(this, Text_ServerIP));
    AddLabelledField(grid, 0, 2, tr("Connection Timeout"), Text_TCP_ConnTimeout);
    AddLabelledField(grid, 1, 2, tr("Retry Connection Timeout"), Text_TCP_RetryConnTimeout);
    AddLabelledField(grid, 2, 2, tr("Command Timeout"), Text_TCP_CommTimeout);
    AddSetButton(grid, Btn_SetTCPClassAttr);

    connect(Combo_ConnValid, &QComboBox::currentIndexChanged, this,
            &ClassAttributesFrame::connectionListChanged);
    connect(Btn_SetTCPClassAttr, &QPushButton::clicked, this, &TcpAttributesFrame::Set);
}

const TcpClassRecord& TcpAttributesFrame::Stored() const {
    return config_.EditTcpClasses[classIndex_ - SerialClassCount];
}

void TcpAttributesFrame::ShowStored() {
    const auto& record = Stored();
    {
        const QSignalBlocker quiet(Combo_ConnValid);
        Combo_ConnValid->setCurrentIndex(record.ConnValid <= 1 ? record.ConnValid : 0);
    }
    for (size_t i = 0; i < Text_ServerIP.size(); ++i)
        Text_ServerIP[i]->setText(QString::number(record.ServerIp[i]));
    Text_TCP_ConnTimeout->setText(NumberFieldText(record.ConnTimeout));
    Text_TCP_RetryConnTimeout->setText(NumberFieldText(record.RetryConnTimeout));
    Text_TCP_CommTimeout->setText(NumberFieldText(record.CmdTimeout));
}

bool TcpAttributesFrame::ListShowsOn() const { return Combo_ConnValid->currentIndex() == 1; }

void TcpAttributesFrame::SetAttributeFieldsEnabled(bool enabled) {
    for (auto* octet : Text_ServerIP) octet->setEnabled(enabled);
    Text_TCP_ConnTimeout->setEnabled(enabled);
    Text_TCP_RetryConnTimeout->setEnabled(enabled);
    Text_TCP_CommTimeout->setEnabled(enabled);
}

void TcpAttributesFrame::Set() {
    TcpClassAttributeTexts texts;
    texts.ConnValidPosition = Combo_ConnValid->currentIndex();
    for (size_t i = 0; i < Text_ServerIP.size(); ++i) texts.ServerIp[i] = Text_ServerIP[i]->text();
    texts.ConnTimeout = Text_TCP_ConnTimeout->text();
    texts.RetryConnTimeout = Text_TCP_RetryConnTimeout->text();
    texts.CmdTimeout = Text_TCP_CommTimeout->text();
    const auto check = CheckTcpClassAttributes(texts);
    if (!check.ok()) {
        dialogs_.Message(check.Error, QStringLiteral("Error"), MessageKind::Error);
        return;
    }
    StoreTcpClassAttributes(config_, classIndex_, check.Attributes);
    if (check.Attributes.ConnValid != 0) Q_EMIT storedConnectionOn();
}

}  // namespace kv
