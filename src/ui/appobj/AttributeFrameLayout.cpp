#include "ui/appobj/AttributeFrameLayout.h"

#include "config/WorkingCopy.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace kv {

QString AttributeFrameTitle(int classIndex) {
    return QObject::tr("Class Attributes Setting (0x%1)")
        .arg(QString::number(ClassNumber(classIndex), 16).toUpper());
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
