#include "ui/appobj/AttributeFrameLayout.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "config/WorkingCopy.h"
#include "ui/appobj/ControlNames.h"
#include "ui/appobj/FieldFocus.h"

namespace kv {

QString AttributeFrameTitle(int classIndex) {
    return QObject::tr("Class Attributes Setting (0x%1)")
        .arg(QString::number(ClassIdOf(classIndex), 16).toUpper());
}

QLineEdit* AttributeField(QWidget* parent, const QString& name, int index, int maxLength) {
    auto* field = new QLineEdit(parent);
    NameControl(field, name, index);
    field->setMaxLength(maxLength);
    SelectAllOnFocusZeroWhenLeftEmpty(field);
    FitNumberField(field, maxLength);
    return field;
}

void AddLabelledField(QGridLayout* grid, int row, int column, const QString& text, QWidget* field) {
    auto* label = new QLabel(text, field->parentWidget());
    label->setBuddy(field);
    grid->addWidget(label, row, column);
    grid->addWidget(field, row, column + 1);
}

void AddSetButton(QGridLayout* grid, QPushButton* set) {
    const int lastFieldColumn = grid->columnCount() - 1;
    grid->addWidget(set, grid->rowCount(), lastFieldColumn, Qt::AlignLeft);
    // Free room goes to the right of the fields, not into them.
    grid->setColumnStretch(lastFieldColumn + 1, 1);
}

}  // namespace kv
