#include "ui/main/PanelToggleAccessible.h"

#include <QAccessibleWidget>

#include "ui/main/PanelToggle.h"

namespace kv {
namespace {

class PanelToggleAccessible : public QAccessibleWidget {
public:
    explicit PanelToggleAccessible(PanelToggle* toggle)
        : QAccessibleWidget(toggle, QAccessible::Button) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Toggle()->isChecked();
        state.pressed = Toggle()->isDown();
        return state;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled()) names << toggleAction() << pressAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& actionName) override {
        if (actionName != toggleAction() && actionName != pressAction())
            return QAccessibleWidget::doAction(actionName);
        if (widget()->isEnabled()) Toggle()->click();
    }

private:
    PanelToggle* Toggle() const { return static_cast<PanelToggle*>(widget()); }
};

QAccessibleInterface* MakeInterface(const QString& className, QObject* object) {
    if (className != QLatin1String(PanelToggle::staticMetaObject.className())) return nullptr;
    auto* toggle = qobject_cast<PanelToggle*>(object);
    return toggle ? new PanelToggleAccessible(toggle) : nullptr;
}

}  // namespace

void InstallPanelToggleAccessible() {
    static const bool installed = [] {
        QAccessible::installFactory(MakeInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

}  // namespace kv
