#pragma once
// Shared layout of the two class attribute frames, so the serial and TCP tabs line up.

#include <QString>

class QGridLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kv {

// "Class Attributes Setting (0x65)" .. "(0x6A)".
QString AttributeFrameTitle(int classIndex);

// A number field of the frame, named "<name>_<index>", as wide as `maxLength` digits.
QLineEdit* AttributeField(QWidget* parent, const QString& name, int index, int maxLength);

// Puts a label and its field at (row, column), the label as the field's buddy.
void AddLabelledField(QGridLayout* grid, int row, int column, const QString& text, QWidget* field);

// Puts "Set" under the last column of fields.
void AddSetButton(QGridLayout* grid, QPushButton* set);

}  // namespace kv
