#pragma once
// The main window on a virtual gateway in the test's own process: simulated time, the
// recording dialogs, and the gateway session on its own thread, as in the program.

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>

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

class MainWindowHarness {
public:
    explicit MainWindowHarness(sim::ControllerModel model = sim::ControllerModel::Q5308RT)
        : Gateway(model) {
        Gateway.Console.Eeprom = sim::DemoImage();
        Window.show();
        if (!QTest::qWaitForWindowExposed(&Window)) qWarning("main window not exposed");
    }

    template <typename W = QWidget>
    W* Find(const QString& name) {
        W* widget = Window.findChild<W*>(name);
        if (!widget) qFatal("no control named %s", qPrintable(name));
        return widget;
    }

    PanelToggle* Toggle(int index) {
        return Find<PanelToggle>(QStringLiteral("ComButton_%1").arg(index));
    }

    void Click(const QString& buttonName) {
        QTest::mouseClick(Find<QAbstractButton>(buttonName), Qt::LeftButton);
    }

    // Presses Connect and waits for the read-out's outcome.
    void Connect() {
        Click("Connect");
        WaitUntilIdle(Gateway_);
    }

    SimulatedGateway Gateway;
    GatewayConfig Config;
    GatewaySession Gateway_{DevicesOf(Gateway)};
    RecordingDialogs Dialogs;
    kv::Session Session{Config, Gateway_, Dialogs};
    Main_F Window{Session};
};

}  // namespace kv::test
