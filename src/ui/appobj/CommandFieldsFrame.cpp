#include "ui/appobj/CommandFieldsFrame.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "config/ModbusReference.h"
#include "ui/appobj/ControlNames.h"
#include "ui/appobj/DigitsValidator.h"
#include "ui/appobj/FieldFocus.h"

namespace kv {

namespace {

QLineEdit* NumberField(const QString& name, int classIndex, int maxLength, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    NameControl(field, name, classIndex);
    if (maxLength > 0) field->setMaxLength(maxLength);
    FitNumberField(field, 5);
    AcceptDigitsOnly(field);
    SelectAllOnFocus(field);
    return field;
}

QLabel* Label(const QString& text, const QString& name, int classIndex, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    if (!name.isEmpty()) NameControl(label, name, classIndex);
    return label;
}

}  // namespace

CommandFieldsFrame::CommandFieldsFrame(int classIndex, QWidget* parent)
    : QGroupBox(tr("Modbus Device Parameters"), parent),
      MB_ID(NumberField("MB_ID", classIndex, 3, this)),
      MB_IO_type(new QComboBox(this)),
      MB_Start_addr(NumberField("MB_Start_addr", classIndex, 5, this)),
      MB_Comm_len(NumberField("MB_Comm_len", classIndex, 4, this)),
      MB_InternalMem(NumberField("MB_InternalMem", classIndex, 0, this)),
      Lbl_RegAddr(Label(tr("Register/Relay Address"), "Lbl_RegAddr", classIndex, this)),
      Lbl_RemoteAddress(Label("(0~65535)", "Lbl_RemoteAddress", classIndex, this)),
      Lbl_DataLen(Label(tr("Data Length (Bits)"), "Lbl_DataLen", classIndex, this)),
      Lbl_RemoteDataLen(Label("(1~1920)", "Lbl_RemoteDataLen", classIndex, this)),
      Lbl_InternalMemAddr(Label("(0~2047)", "Lbl_InternalMemAddr", classIndex, this)),
      Lbl_ModbusReference(Label({}, "Lbl_ModbusReference", classIndex, this)) {
    // Nested in the instance frame, the frame would otherwise be announced by its title.
    setAccessibleName(title());
    NameControl(MB_IO_type, "MB_IO_type", classIndex);
    MB_IO_type->addItems(FunctionCodeEntries());
    connect(MB_IO_type, &QComboBox::currentIndexChanged, this,
            &CommandFieldsFrame::ApplyFunctionCode);
    // Announced by its text, which carries the reference; the tip says what it means.
    Lbl_ModbusReference->setToolTip(
        tr("Modbus reference of the first item: coils 0xxxx, discrete inputs 1xxxx, "
           "input registers 3xxxx, holding registers 4xxxx"));
    connect(MB_Start_addr, &QLineEdit::textChanged, this, &CommandFieldsFrame::ShowModbusReference);

    auto* netIdLabel = Label(tr("Modbus Device NetID"), {}, classIndex, this);
    auto* codeLabel = Label(tr("Modbus Function Code"), {}, classIndex, this);
    auto* memoryLabel = Label(tr("Map to Memory Address"), {}, classIndex, this);
    const std::pair<QLabel*, QWidget*> buddies[] = {
        {netIdLabel, MB_ID},        {codeLabel, MB_IO_type},       {Lbl_RegAddr, MB_Start_addr},
        {Lbl_DataLen, MB_Comm_len}, {memoryLabel, MB_InternalMem},
    };
    auto* grid = new QGridLayout(this);
    grid->setColumnStretch(3, 1);
    int row = 0;
    for (const auto& [label, field] : buddies) {
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row++, 1, 1, field == MB_IO_type ? 2 : 1);
    }
    grid->addWidget(Lbl_RemoteAddress, 2, 2);
    grid->addWidget(Lbl_ModbusReference, 2, 3);
    grid->addWidget(Lbl_RemoteDataLen, 3, 2);
    grid->addWidget(Lbl_InternalMemAddr, 4, 2);
    for (auto* range : {Lbl_RemoteAddress, Lbl_RemoteDataLen, Lbl_InternalMemAddr})
        range->setMinimumWidth(range->fontMetrics().horizontalAdvance("(0-65535)  "));
}

CommandFieldTexts CommandFieldsFrame::Texts() const {
    return {MB_ID->text().trimmed(), FunctionCodeAtPosition(MB_IO_type->currentIndex()),
            MB_Start_addr->text().trimmed(), MB_Comm_len->text().trimmed(),
            MB_InternalMem->text().trimmed()};
}

void CommandFieldsFrame::ShowCommand(const CommandFieldTexts& fields) {
    MB_ID->setText(fields.NetId);
    // The function-code reaction empties the numbers, so the code goes first.
    if (const int position = PositionOfFunctionCode(fields.FunctionCode); position >= 0)
        SelectFunctionCode(position);
    MB_Start_addr->setText(fields.StartAddress);
    MB_Comm_len->setText(fields.Length);
    MB_InternalMem->setText(fields.MemAddress);
}

void CommandFieldsFrame::SelectFunctionCode(int position) {
    {
        const QSignalBlocker quiet(MB_IO_type);
        MB_IO_type->setCurrentIndex(position);
    }
    ApplyFunctionCode(position);
}

void CommandFieldsFrame::SetFieldsEnabled(bool enabled) {
    for (QWidget* field :
         std::initializer_list<QWidget*>{MB_ID, MB_IO_type, MB_Start_addr, MB_InternalMem})
        field->setEnabled(enabled);
    // FC05 and FC06 always move exactly one item: their length stays fixed.
    const bool singleItem =
        LayoutOfFunctionCode(FunctionCodeAtPosition(MB_IO_type->currentIndex())).SingleItem;
    MB_Comm_len->setEnabled(enabled && !singleItem);
}

void CommandFieldsFrame::ApplyFunctionCode(int position) {
    const auto layout = LayoutOfFunctionCode(FunctionCodeAtPosition(position));
    Lbl_RegAddr->setText(layout.RegAddr);
    Lbl_DataLen->setText(layout.DataLen);
    Lbl_RemoteAddress->setText(layout.RemoteAddress);
    Lbl_InternalMemAddr->setText(layout.InternalMemAddr);
    Lbl_RemoteDataLen->setText(layout.RemoteDataLen);
    MB_Start_addr->clear();
    MB_InternalMem->clear();
    if (layout.SingleItem) {
        MB_Comm_len->setText(QStringLiteral("1"));
        MB_Comm_len->setEnabled(false);
        return;
    }
    MB_Comm_len->setMaxLength(layout.LengthMaxChars);
    // A tab whose connection is off keeps its fields off.
    MB_Comm_len->setEnabled(MB_IO_type->isEnabled());
    MB_Comm_len->clear();
}

// Follows what is typed; an empty field, or an address the checks will refuse, has no
// reference to show.
void CommandFieldsFrame::ShowModbusReference() {
    const QString start = MB_Start_addr->text().trimmed();
    const QString reference =
        start.isEmpty() ? QString()
                        : ModbusReferenceText(FunctionCodeAtPosition(MB_IO_type->currentIndex()),
                                              start.toInt());
    Lbl_ModbusReference->setText(reference.isEmpty() ? QString()
                                                     : tr("Modbus reference %1").arg(reference));
}

}  // namespace kv
