#include "ui/appobj/DigitsValidator.h"

#include <QApplication>
#include <QLineEdit>
#include <algorithm>

namespace kv {

QValidator::State DigitsValidator::validate(QString& input, int&) const {
    const bool digitsOnly =
        std::all_of(input.cbegin(), input.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (digitsOnly) return Acceptable;
    Q_EMIT refused();
    return Invalid;
}

void AcceptDigitsOnly(QLineEdit* field) {
    auto* validator = new DigitsValidator(field);
    QObject::connect(validator, &DigitsValidator::refused, field, [] { QApplication::beep(); });
    field->setValidator(validator);
}

}  // namespace kv
