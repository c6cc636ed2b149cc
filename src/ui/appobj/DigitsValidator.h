#pragma once
// The key filter of the command's numeric fields: only the digits 0..9 get in, whether
// typed or pasted. A refused entry leaves the text as it was and sounds a beep, so a pasted
// "-5" or "12a" never reaches a stored command.

#include <QValidator>

class QLineEdit;

namespace kv {

class DigitsValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;

Q_SIGNALS:
    // An entry was refused (the field beeps).
    void refused() const;
};

// Puts the digits-only rule on a field, with the beep on refusal.
void AcceptDigitsOnly(QLineEdit* field);

}  // namespace kv
