#pragma once
// Controls of the editor's tabs are arrays indexed by the class (or connection) index;
// each is named "<Name>_<index>" so that tests and accessibility tools find it.

#include <QString>
#include <QWidget>

namespace kv {

inline void NameControl(QWidget* control, const QString& name, int index) {
    control->setObjectName(QStringLiteral("%1_%2").arg(name).arg(index));
}

// Short number fields are as wide as their longest entry, not as the window.
inline void FitNumberField(QWidget* field, int characters) {
    field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QString(characters + 2, u'0')) +
                           16);
}

}  // namespace kv
