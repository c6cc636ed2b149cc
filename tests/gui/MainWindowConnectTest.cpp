// The main window's read-out: its three looks, a read-out that succeeds and the ways one
// fails, re-entry and shut-down, against the virtual gateway.

#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QThread>
#include <QtTest>
#include <atomic>
#include <optional>

#include "MainWindowHarness.h"

namespace kv {
namespace {

using test::MainWindowHarness;

// What the read-out look shows while the console is being read.
struct ReadingLook {
    QString State;
    bool ConnectEnabled, ComPortEnabled, NextEnabled, ExitEnabled, ProgressShown, TogglesShown;
    QWidget* Focus;
};

class MainWindowConnectTest : public QObject {
    Q_OBJECT

private:
    static void VerifyUsableAfterFailure(MainWindowHarness& h) {
        for (const char* name : {"Connect", "ComPort", "ExitProgram"})
            QVERIFY2(h.Find(name)->isEnabled(), name);
        QVERIFY(!h.Find("CreateMBDevice")->isEnabled());
        QVERIFY(h.Find("ConnectProgress")->isHidden());
        QVERIFY(!h.Gateway.Port.IsOpen());
        QVERIFY(!h.Session.ConnectBusy);
        QVERIFY(!h.Window.Connected());
        for (int i = 0; i < 3; ++i) QVERIFY(h.Toggle(i)->isHidden());
    }

private Q_SLOTS:
    void startsNotConnected() {
        MainWindowHarness h;
        auto* ports = h.Find<QComboBox>("ComPort");
        QCOMPARE(ports->count(), 16);
        QVERIFY(!ports->itemData(2, Qt::ToolTipRole).toString().isEmpty());
        for (const char* name : {"ComButton_2", "ModulesImage", "CANNodeId",
                                 "SettingDeviceNetParam", "ParaSettingC0_1", "ConnectProgress"})
            QVERIFY2(h.Find(name)->isHidden(), name);
        QVERIFY(!h.Find("CreateMBDevice")->isEnabled());
        for (const char* name : {"Connect", "ComPort", "ExitProgram"})
            QVERIFY2(h.Find(name)->isEnabled(), name);
        QCOMPARE(h.Window.SelectedPanel(), int(Main_F::NoPanel));
    }

    void readsTheGatewayAndShowsTheConnectedLook() {
        MainWindowHarness h;
        std::optional<ReadingLook> reading;
        QList<int> progress;
        auto* bar = h.Find<QProgressBar>("ConnectProgress");
        QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
            if (progress.isEmpty() || progress.last() != value) progress << value;
            if (reading || value < 3) return;
            reading = ReadingLook{h.Find<QLineEdit>("CommunicationState")->text(),
                                  h.Find("Connect")->isEnabled(),
                                  h.Find("ComPort")->isEnabled(),
                                  h.Find("CreateMBDevice")->isEnabled(),
                                  h.Find("ExitProgram")->isEnabled(),
                                  h.Find("ConnectProgress")->isVisible(),
                                  h.Toggle(0)->isVisible(),
                                  h.Window.focusWidget()};
        });
        h.Connect();

        QVERIFY(reading.has_value());
        QCOMPARE(reading->State, QString("Connecting"));
        QVERIFY(!reading->ConnectEnabled && !reading->ComPortEnabled && !reading->NextEnabled &&
                !reading->ExitEnabled);
        QVERIFY(reading->ProgressShown);
        QVERIFY(!reading->TogglesShown);
        // The focus stays on Connect, off the read-only fields, and is there afterwards.
        QCOMPARE(reading->Focus, h.Find("Connect"));
        QCOMPARE(progress, (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

        QVERIFY(h.Dialogs.Messages.isEmpty());
        QVERIFY(h.Window.Connected());
        QVERIFY(!h.Session.ConnectBusy);
        QVERIFY(!h.Gateway.Port.IsOpen());
        QCOMPARE(h.Gateway.LinesReceived().last(), QString("quit"));
        QCOMPARE(h.Find<QLineEdit>("FirmwareVer")->text(), QString("1.03-2009/07/15"));
        QCOMPARE(h.Find<QLineEdit>("CommunicationState")->text(),
                 QString("Waiting for configuration"));
        QCOMPARE(h.Config.SerialClasses, sim::DemoConfig().SerialClasses);
        for (const char* name :
             {"ComButton_2", "ModulesImage", "CANNodeId", "SettingDeviceNetParam"})
            QVERIFY2(h.Find(name)->isVisible(), name);
        for (const char* name : {"Connect", "ComPort", "ExitProgram", "CreateMBDevice"})
            QVERIFY2(h.Find(name)->isEnabled(), name);
        QVERIFY(h.Find("ConnectProgress")->isHidden());
        QCOMPARE(h.Window.focusWidget(), h.Find("Connect"));

        // The DeviceNet panel is selected as if its toggle had been pressed.
        QCOMPARE(h.Window.SelectedPanel(), int(Main_F::DeviceNetPanel));
        QVERIFY(h.Toggle(0)->isChecked());
        QCOMPARE(h.Find<QStackedWidget>("Panels")->currentIndex(), 0);
        QCOMPARE(h.Find<QLineEdit>("CANNodeId")->text(), QString("5"));
    }

    void nextBeforeAReadOutOnlyFlipsTheStatusStyle() {
        MainWindowHarness h;
        QSignalSpy next(&h.Window, &Main_F::nextRequested);
        auto* state = h.Find<QLineEdit>("CommunicationState");
        h.Find<QPushButton>("CreateMBDevice")->setEnabled(true);  // as a script might
        h.Click("CreateMBDevice");
        QCOMPARE(state->text(), QString("Connect KV-9052R First"));
        QVERIFY(state->font().bold());
        h.Click("CreateMBDevice");
        QVERIFY(!state->font().bold());
        h.Click("CreateMBDevice");
        QVERIFY(state->font().bold());
        QCOMPARE(next.count(), 0);

        h.Connect();  // a read-out sets the style back
        QVERIFY(!state->font().bold());
        h.Click("CreateMBDevice");
        QCOMPARE(next.count(), 1);
    }

    void unknownControllerEndsBeforeAnythingElseIsSent() {
        MainWindowHarness h(sim::ControllerModel::Foreign);
        h.Connect();
        QCOMPARE(h.Dialogs.MessageTexts(), QStringList{"This modules is not 5308!"});
        QCOMPARE(h.Find<QLineEdit>("CommunicationState")->text(), QString("Timeout"));
        QVERIFY(!h.Gateway.LinesReceived().contains("use eeprom"));
        VerifyUsableAfterFailure(h);
    }

    void silentOrVanishingGatewayEndsInTimeout_data() {
        QTest::addColumn<int>("silentAfterLines");
        QTest::addColumn<bool>("unplug");
        QTest::newRow("silent from the start") << 0 << false;
        QTest::newRow("silent before the last quit") << -2 << false;
        QTest::newRow("cable pulled during the read-out") << -1 << true;
    }

    void silentOrVanishingGatewayEndsInTimeout() {
        QFETCH(int, silentAfterLines);
        QFETCH(bool, unplug);
        MainWindowHarness h;
        if (silentAfterLines == -2) {
            h.Connect();  // count the lines of a whole read-out first
            silentAfterLines = h.Gateway.Console.LinesReceived() * 2 - 1;
        } else if (unplug) {
            h.Gateway.Port.EachWait = [&] {
                if (h.Gateway.LinesReceived().size() == 60 && h.Gateway.IsPlugged())
                    h.Gateway.Unplug();
            };
        }
        h.Gateway.Console.Faults.StopAfterLines = silentAfterLines;
        h.Dialogs.Messages.clear();
        h.Connect();

        QCOMPARE(h.Dialogs.MessageTexts(), QStringList{"Timeout"});
        QCOMPARE(h.Find<QLineEdit>("CommunicationState")->text(), QString("Timeout"));
        VerifyUsableAfterFailure(h);
    }

    void portErrorsAreToldApart() {
        MainWindowHarness h;
        h.Find<QComboBox>("ComPort")->setCurrentIndex(2);
        auto* state = h.Find<QLineEdit>("CommunicationState");
        state->setText("earlier");

        h.Gateway.Port.NextOpenResult = {PortOpenError::NotOpened, {}};
        h.Connect();
        QCOMPARE(h.Gateway.Port.SelectedPort(), 3);
        QCOMPARE(h.Session.PortNumber, 3);
        QCOMPARE(h.Dialogs.Messages.last().Text, QString("Can't open COM 3!"));
        QCOMPARE(state->text(), QString("earlier"));

        h.Gateway.Port.NextOpenResult = {PortOpenError::InUse, {}};
        h.Connect();
        QCOMPARE(h.Dialogs.Messages.last().Text, QString("COM 3 has been occupied"));
        QCOMPARE(state->text(), QString("COM 3 has been occupied"));

        h.Gateway.Port.NextOpenResult = {PortOpenError::Other, "Permission denied"};
        h.Connect();
        QCOMPARE(h.Dialogs.Messages.last().Text, QString("Permission denied"));
        QVERIFY(state->text().isEmpty());

        QCOMPARE(h.Dialogs.Messages.size(), 3);
        QVERIFY(h.Gateway.LinesReceived().isEmpty());
        QVERIFY(h.Find("Connect")->isEnabled());
    }

    void connectDuringAReadOutStartsNoSecondOne() {
        MainWindowHarness h;
        int extraPresses = 0;
        QObject::connect(h.Find<QProgressBar>("ConnectProgress"), &QProgressBar::valueChanged,
                         [&](int value) {
                             if (extraPresses > 0 || value != 2) return;
                             ++extraPresses;
                             h.Window.ConnectSequence();
                             h.Click("Connect");
                         });
        h.Connect();
        QCOMPARE(extraPresses, 1);
        QCOMPARE(h.Gateway.Port.OpenCount, 1);
        QCOMPARE(h.Gateway.LinesReceived().count("use eeprom"), 1);
        QVERIFY(h.Window.Connected());
    }

    void closingAsksAndIsRefusedDuringAReadOut() {
        MainWindowHarness h;
        h.Gateway.Console.Latency = std::chrono::milliseconds(20);  // a read-out of seconds
        QSignalSpy accepted(&h.Window, &Main_F::closeAccepted);
        // The read-out waits at its tenth line until the refusal is shown, so that the box
        // stands in the middle of it; the box is then read for three reply time-outs' worth
        // of the gateway's time, during which the read-out goes on without the window.
        std::atomic<bool> boxShown = false;
        h.Gateway.Port.EachWait = [&] {
            QDeadlineTimer safety(5000);
            while (h.Gateway.LinesReceived().size() == 10 && !boxShown && !safety.hasExpired())
                QThread::yieldCurrentThread();
        };
        uint32_t boxAnsweredAfterMs = 0;
        h.Dialogs.WhileMessageShown = [&] {
            const uint32_t shownAt = h.Gateway.Clock.Milliseconds();
            boxShown = true;
            QDeadlineTimer safety(5000);
            while (h.Gateway.Clock.Milliseconds() - shownAt < 3 * 200 && !safety.hasExpired())
                QThread::yieldCurrentThread();
            boxAnsweredAfterMs = h.Gateway.Clock.Milliseconds() - shownAt;
        };
        h.Click("Connect");
        h.Window.close();
        const bool stillShownAfterClose = h.Window.isVisible();
        test::WaitUntilIdle(h.Gateway_);
        QVERIFY(boxAnsweredAfterMs >= 600);
        QVERIFY(stillShownAfterClose);
        QCOMPARE(h.Dialogs.MessageTexts(), QStringList{"Module is connecting now!"});
        QVERIFY(h.Dialogs.Questions.isEmpty());
        QVERIFY(h.Window.Connected());

        h.Dialogs.YesNoAnswers = {false, true};
        h.Click("ExitProgram");
        QVERIFY(h.Window.isVisible());
        QCOMPARE(h.Dialogs.Questions.size(), 1);
        QCOMPARE(accepted.count(), 0);
        h.Window.close();
        QVERIFY(!h.Window.isVisible());
        QCOMPARE(accepted.count(), 1);
    }
};

}  // namespace
}  // namespace kv

QTEST_MAIN(kv::MainWindowConnectTest)
#include "MainWindowConnectTest.moc"
