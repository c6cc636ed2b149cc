#pragma once
// The frame "Modbus Device Parameters" of one tab: the five fields of one Modbus command.
// The labels, range texts and the length field follow the chosen function code; beside the
// start address a hint shows the conventional Modbus reference of the first item.

#include <QGroupBox>

#include "config/CommandChecks.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace kv {

class CommandFieldsFrame : public QGroupBox {
    Q_OBJECT
public:
    CommandFieldsFrame(int classIndex, QWidget* parent = nullptr);

    CommandFieldTexts Texts() const;
    // Shows a stored command; a code that is none of the eight leaves the list as it is.
    void ShowCommand(const CommandFieldTexts& fields);
    // Selects a function code in code, with the same reaction as the user's choice.
    void SelectFunctionCode(int position);
    void SetFieldsEnabled(bool enabled);

private:
    void ApplyFunctionCode(int position);
    void ShowModbusReference();

    QLineEdit* MB_ID;
    QComboBox* MB_IO_type;
    QLineEdit* MB_Start_addr;
    QLineEdit* MB_Comm_len;
    QLineEdit* MB_InternalMem;
    QLabel* Lbl_RegAddr;
    QLabel* Lbl_RemoteAddress;
    QLabel* Lbl_DataLen;
    QLabel* Lbl_RemoteDataLen;
    QLabel* Lbl_InternalMemAddr;
    QLabel* Lbl_ModbusReference;
};

}  // namespace kv
