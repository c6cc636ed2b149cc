#pragma once
// A window of the program on a virtual gateway in the test's own process: simulated time,
// the recording dialogs, and the gateway session on its own thread, as in the program.

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "config/GatewayConfig.h"
#include "sim/DemoImages.h"
#include "support/RecordingDialogs.h"
#include "support/SessionOnGateway.h"
#include "support/SimulatedGateway.h"
#include "support/TestFiles.h"
#include "ui/common/Session.h"
#include "ui/main/Main_F.h"
#include "ui/main/PanelToggle.h"

namespace kv::test {

template <typename W>
class WindowRig {
public:
    explicit WindowRig(sim::ControllerModel model = sim::ControllerModel::Q5308RT)
        : Gateway(model) {
        Gateway.Console.Eeprom = sim::DemoImage();
        // What the windows remember goes to the rig's own folder, empty at the start.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(SettingsHome.path()));
    }

    // Makes the window anew and shows it.
    W& Open() {
        Window = std::make_unique<W>(Session);
        Window->show();
        return *Window;
    }

    // The control named `name`, or `name`_`index` for the controls of a tab or a frame.
    template <typename T = QWidget>
    T* Find(const QString& name, int index = -1) const {
        const QString full = index < 0 ? name : QStringLiteral("%1_%2").arg(name).arg(index);
        T* control = Window->template findChild<T*>(full);
        if (!control) qFatal("no control named %s", qPrintable(full));
        return control;
    }

    // Which of the named controls are enabled, as "1" or "0" each, in their order.
    QString Enabled(std::initializer_list<const char*> names) const {
        QString flags;
        for (const char* name : names) flags += Find(name)->isEnabled() ? u'1' : u'0';
        return flags;
    }

    void Click(const QString& button) {
        QTest::mouseClick(Find<QAbstractButton>(button), Qt::LeftButton);
    }
    // Clicks and waits until what the click started on the gateway has ended.
    void Press(const QString& button) {
        Click(button);
        WaitUntilIdle(Link);
    }

    // Chooses a list entry as the user does, the one already shown included.
    void Choose(QComboBox* list, int position) {
        list->setCurrentIndex(position);
        Q_EMIT list->activated(position);
    }

    QTemporaryDir SettingsHome;
    SimulatedGateway Gateway;
    GatewaySession Link{DevicesOf(Gateway)};
    GatewayConfig Config;
    RecordingDialogs Dialogs;
    kv::Session Session{Config, Link, Dialogs};
    std::unique_ptr<W> Window;
};

// The main window, shown, on a gateway holding the demo image. It is there from the start,
// so `Window` names it directly here.
class MainWindowHarness : public WindowRig<Main_F> {
public:
    explicit MainWindowHarness(sim::ControllerModel model = sim::ControllerModel::Q5308RT)
        : WindowRig(model), Window(Open()) {
        if (!QTest::qWaitForWindowExposed(&Window)) qWarning("main window not exposed");
    }

    PanelToggle* Toggle(int index) { return Find<PanelToggle>("ComButton", index); }

    // Presses Connect and waits for the read-out's outcome.
    void Connect() { Press("Connect"); }

    Main_F& Window;
};

}  // namespace kv::test
