#include "ui/appobj/FieldFocus.h"

#include <QEvent>
#include <QLineEdit>
#include <QTimer>

namespace kv {

namespace {

class FocusRules : public QObject {
public:
    FocusRules(QLineEdit* field, bool zeroWhenLeftEmpty)
        : QObject(field), field_(field), zeroWhenLeftEmpty_(zeroWhenLeftEmpty) {
        field->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            // A mouse click places the cursor after the focus arrives; select afterwards.
            QTimer::singleShot(0, field_, [field = field_] { field->selectAll(); });
        } else if (event->type() == QEvent::FocusOut && zeroWhenLeftEmpty_ &&
                   field_->text().isEmpty()) {
            field_->setText(QStringLiteral("0"));
        }
        return false;
    }

private:
    QLineEdit* field_;
    bool zeroWhenLeftEmpty_;
};

}  // namespace

void SelectAllOnFocus(QLineEdit* field) { new FocusRules(field, false); }

void SelectAllOnFocusZeroWhenLeftEmpty(QLineEdit* field) { new FocusRules(field, true); }

}  // namespace kv
