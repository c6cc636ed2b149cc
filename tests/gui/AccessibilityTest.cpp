// Every control of every window can be reached with the keyboard and has a name that a
// screen reader announces (its own text, its label's text through a buddy, or an
// accessible name); every frame is announced by its own title.

#include <QAbstractItemView>
#include <QAccessible>
#include <QGroupBox>
#include <QLineEdit>
#include <QtTest>
#include <functional>

#include "MainWindowHarness.h"
#include "config/WorkingCopy.h"
#include "ui/appobj/IOAppObj.h"
#include "ui/backup/frmImpExpEEP.h"
#include "ui/main/AboutWindow.h"
#include "ui/save/EDSAndEEPSet.h"
#include "ui/views/MemoryMap.h"
#include "ui/views/ShowAppObj.h"
#include "ui/views/ShowModule.h"

namespace kv {
namespace {

bool IsControl(const QWidget* widget) {
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractItemView*>(widget);
}

// The controls of `window` that fail the rule, each as "objectName: what is missing".
QStringList UnreachableOrUnnamed(QWidget* window) {
    QStringList faults;
    int controls = 0;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        // Parts of Qt's own controls (a combo box's line edit, a table's headers, the menu
        // bar's overflow button) are announced through the control they belong to.
        const bool partOfQtControl = qobject_cast<QComboBox*>(widget->parentWidget()) ||
                                     qobject_cast<QAbstractItemView*>(widget->parentWidget()) ||
                                     widget->objectName().startsWith(u"qt_");
        if (!IsControl(widget) || partOfQtControl) continue;
        ++controls;
        const QString name = widget->objectName().isEmpty() ? widget->metaObject()->className()
                                                            : widget->objectName();
        if (!(widget->focusPolicy() & Qt::TabFocus)) faults << name + ": no keyboard focus";
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
            faults << name + ": no accessible name";
    }
    if (controls == 0) faults << "no control found";
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
    void everyControlHasKeyboardFocusAndAName_data() {
        QTest::addColumn<int>("window");
        const char* names[] = {"Main_F",     "IOAppObj",     "EDSAndEEPSet", "ShowModule",
                               "ShowAppObj", "frmImpExpEEP", "MemoryMap",    "About"};
        for (int i = 0; i < int(std::size(names)); ++i) QTest::newRow(names[i]) << i;
    }

    void everyControlHasKeyboardFocusAndAName() {
        QFETCH(int, window);
        test::WindowRig<Main_F> rig;
        rig.Config = sim::DemoConfig();
        MakeWorkingCopy(rig.Config);
        Session& session = rig.Session;
        GatewayConfig& config = rig.Config;

        const std::function<QWidget*()> makers[] = {
            [&] { return new Main_F(session); },       [&] { return new IOAppObj(session); },
            [&] { return new EDSAndEEPSet(session); }, [&] { return new ShowModule(config); },
            [&] { return new ShowAppObj(config); },    [&] { return new frmImpExpEEP(session); },
            [&] { return new MemoryMap(config); },     [&] { return new AboutWindow; },
        };
        std::unique_ptr<QWidget> shown(makers[window]());
        shown->show();
        const QStringList faults = UnreachableOrUnnamed(shown.get());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("\n")));
    }
};

}  // namespace kv

QTEST_MAIN(kv::AccessibilityTest)
#include "AccessibilityTest.moc"
