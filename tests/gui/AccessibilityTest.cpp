// Every control of every window can be reached with the keyboard and has a name that a
// screen reader announces (its own text, its label's text through a buddy, or an
// accessible name); every frame is announced by its own title.

#include <QAbstractItemView>
#include <QAccessible>
#include <QGroupBox>
#include <QLineEdit>
#include <QtTest>

#include "MainWindowHarness.h"
#include "config/WorkingCopy.h"
#include "ui/appobj/IOAppObj.h"
#include "ui/backup/frmImpExpEEP.h"
#include "ui/main/AboutWindow.h"
#include "ui/main/ReportFieldsDialog.h"
#include "ui/save/EDSAndEEPSet.h"
#include "ui/views/MemoryMap.h"
#include "ui/views/ShowAppObj.h"
#include "ui/views/ShowModule.h"

namespace kv {
namespace {

// The controls of `window` that fail the rule, each as "objectName: what is missing".
QStringList UnreachableOrUnnamed(QWidget* window) {
    QStringList faults;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        // Parts of Qt's own controls (a combo box's line edit, a table's headers, the menu
        // bar's overflow button) are announced through the control they belong to.
        const bool partOfQtControl = qobject_cast<QComboBox*>(widget->parentWidget()) ||
                                     qobject_cast<QAbstractItemView*>(widget->parentWidget()) ||
                                     widget->objectName().startsWith(u"qt_");
        const bool control = qobject_cast<QAbstractButton*>(widget) ||
                             qobject_cast<QComboBox*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                             qobject_cast<QAbstractItemView*>(widget);
        if (!control || partOfQtControl) continue;
        const QString name = widget->objectName().isEmpty() ? widget->metaObject()->className()
                                                            : widget->objectName();
        if (!(widget->focusPolicy() & Qt::TabFocus)) faults << name + ": no keyboard focus";
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
            faults << name + ": no accessible name";
    }
    // A frame is announced by its own title, also inside another frame.
    for (QGroupBox* frame : window->findChildren<QGroupBox*>()) {
        const QString name = QAccessible::queryAccessibleInterface(frame)->text(QAccessible::Name);
        if (name != frame->title()) faults << frame->title() + ": announced as " + name;
    }
    return faults;
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyControlHasKeyboardFocusAndAName() {
        const struct {
            const char* name;
            QWidget* (*make)(Session&);
        } windows[] = {
            {"Main_F", [](Session& s) -> QWidget* { return new Main_F(s); }},
            {"IOAppObj", [](Session& s) -> QWidget* { return new IOAppObj(s); }},
            {"EDSAndEEPSet", [](Session& s) -> QWidget* { return new EDSAndEEPSet(s); }},
            {"ShowModule", [](Session& s) -> QWidget* { return new ShowModule(s.Config); }},
            {"ShowAppObj", [](Session& s) -> QWidget* { return new ShowAppObj(s.Config); }},
            {"frmImpExpEEP", [](Session& s) -> QWidget* { return new frmImpExpEEP(s); }},
            {"MemoryMap", [](Session& s) -> QWidget* { return new MemoryMap(s.Config); }},
            {"About", [](Session&) -> QWidget* { return new AboutWindow; }},
            {"ExportReport", [](Session&) -> QWidget* { return new ReportFieldsDialog; }},
        };
        for (const auto& w : windows) {
            test::WindowRig<Main_F> rig;
            rig.Config = sim::DemoConfig();
            MakeWorkingCopy(rig.Config);
            std::unique_ptr<QWidget> shown(w.make(rig.Session));
            shown->show();
            const QStringList faults = UnreachableOrUnnamed(shown.get());
            QVERIFY2(faults.isEmpty(), qPrintable(QString(w.name) + ": " + faults.join("\n")));
        }
    }
};

}  // namespace kv

QTEST_MAIN(kv::AccessibilityTest)
#include "AccessibilityTest.moc"
