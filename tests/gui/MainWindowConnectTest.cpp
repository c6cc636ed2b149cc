// The main window's read-out: its three looks, a read-out that succeeds and the ways one
// fails, re-entry and shut-down, against the virtual gateway.

#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QThread>
#include <QtTest>
#include <atomic>

#include "WindowRig.h"

namespace kv {
namespace {

using test::MainWindowHarness;

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
        QVERIFY(!h.Window->Connected());
        QVERIFY(h.Toggle(0)->isHidden());
    }

private Q_SLOTS:
    void startsNotConnected() {
        MainWindowHarness h;
        QCOMPARE(h.Find<QComboBox>("ComPort")->count(), 16);
        for (const char* name : {"ComButton_2", "CANNodeId", "ConnectProgress"})
            QVERIFY2(h.Find(name)->isHidden(), name);
        QVERIFY(!h.Find("CreateMBDevice")->isEnabled());
        QCOMPARE(h.Window->SelectedPanel(), int(Main_F::NoPanel));
    }

    void readsTheGatewayAndShowsTheConnectedLook() {
        MainWindowHarness h;
        bool checkedWhileReading = false;
        auto* bar = h.Find<QProgressBar>("ConnectProgress");
        QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
            if (checkedWhileReading || value < 3) return;
            checkedWhileReading = true;
            QCOMPARE(h.Find<QLineEdit>("CommunicationState")->text(), QString("Connecting"));
            for (const char* name : {"Connect", "ComPort", "CreateMBDevice", "ExitProgram"})
                QVERIFY2(!h.Find(name)->isEnabled(), name);
            QVERIFY(bar->isVisible());
            // The focus stays on Connect, off the read-only fields.
            QCOMPARE(h.Window->focusWidget(), h.Find("Connect"));
        });
        h.Connect();

        QVERIFY(checkedWhileReading);
        QVERIFY(h.Dialogs.Messages.isEmpty());
        QVERIFY(h.Window->Connected());
        QVERIFY(!h.Session.ConnectBusy);
        QVERIFY(!h.Gateway.Port.IsOpen());
        QCOMPARE(h.Find<QLineEdit>("FirmwareVer")->text(), QString("1.03-2009/07/15"));
        QCOMPARE(h.Find<QLineEdit>("CommunicationState")->text(),
                 QString("Waiting for configuration"));
        QCOMPARE(h.Config.SerialClasses, sim::DemoConfig().SerialClasses);
        QVERIFY(h.Find("ModulesImage")->isVisible());
        for (const char* name : {"Connect", "ComPort", "ExitProgram", "CreateMBDevice"})
            QVERIFY2(h.Find(name)->isEnabled(), name);
        QVERIFY(h.Find("ConnectProgress")->isHidden());
        QCOMPARE(h.Window->focusWidget(), h.Find("Connect"));
        // The DeviceNet panel is selected as if its toggle had been pressed.
        QVERIFY(h.Toggle(0)->isChecked());
        QCOMPARE(h.Find<QLineEdit>("CANNodeId")->text(), QString("5"));
    }

    void nextBeforeAReadOutOnlyFlipsTheStatusStyle() {
        MainWindowHarness h;
        QSignalSpy next(h.Window.get(), &Main_F::nextRequested);
        auto* state = h.Find<QLineEdit>("CommunicationState");
        h.Find<QPushButton>("CreateMBDevice")->setEnabled(true);  // as a script might
        h.Click("CreateMBDevice");
        QCOMPARE(state->text(), QString("Connect KV-9052R First"));
        QVERIFY(state->font().bold());
        h.Click("CreateMBDevice");
        QVERIFY(!state->font().bold());
        QCOMPARE(next.count(), 0);
        h.Connect();
        h.Click("CreateMBDevice");
        QCOMPARE(next.count(), 1);
    }

    // How a read-out fails is ReadOutTest's; here what the window shows and gives back.
    void failedReadOutShowsWhyAndGivesTheWindowBack() {
        const struct {
            sim::ControllerModel model;
            int silentAfterLines;
            QString message;
        } rows[] = {{sim::ControllerModel::Q5308RT, 0, "Timeout"},
                    {sim::ControllerModel::Foreign, -1, "This modules is not 5308!"}};
        for (const auto& r : rows) {
            MainWindowHarness h(r.model);
            h.Gateway.Console.Faults.StopAfterLines = r.silentAfterLines;
            h.Connect();
            QCOMPARE(h.Dialogs.MessageTexts(), QStringList{r.message});
            QCOMPARE(h.Find<QLineEdit>("CommunicationState")->text(), QString("Timeout"));
            VerifyUsableAfterFailure(h);
        }
    }

    // The messages are PortOpening's (CliReadTest); here the status line each one leaves.
    void portErrorsAreToldApart() {
        const struct {
            PortOpenResult open;
            QString message, state;
        } rows[] = {
            {{PortOpenError::NotOpened, {}}, "Can't open COM 3!", "earlier"},
            {{PortOpenError::InUse, {}}, "COM 3 has been occupied", "COM 3 has been occupied"},
            {{PortOpenError::Other, "Permission denied"}, "Permission denied", ""}};
        for (const auto& r : rows) {
            MainWindowHarness h;
            h.Find<QComboBox>("ComPort")->setCurrentIndex(2);
            h.Find<QLineEdit>("CommunicationState")->setText("earlier");
            h.Gateway.Port.NextOpenResult = r.open;
            h.Connect();
            QCOMPARE(h.Gateway.Port.SelectedPort(), 3);
            QCOMPARE(h.Dialogs.MessageTexts(), QStringList{r.message});
            QCOMPARE(h.Find<QLineEdit>("CommunicationState")->text(), r.state);
            VerifyUsableAfterFailure(h);
        }
    }

    void connectDuringAReadOutStartsNoSecondOne() {
        MainWindowHarness h;
        int extraPresses = 0;
        QObject::connect(h.Find<QProgressBar>("ConnectProgress"), &QProgressBar::valueChanged,
                         [&](int value) {
                             if (extraPresses > 0 || value != 2) return;
                             ++extraPresses;
                             h.Window->ConnectSequence();
                             h.Click("Connect");
                         });
        h.Connect();
        QCOMPARE(extraPresses, 1);
        QCOMPARE(h.Gateway.Port.OpenCount, 1);
        QCOMPARE(h.Gateway.LinesReceived().count("use eeprom"), 1);
        QVERIFY(h.Window->Connected());
    }

    void closingAsksAndIsRefusedDuringAReadOut() {
        MainWindowHarness h;
        h.Gateway.Console.Latency = std::chrono::milliseconds(20);  // a read-out of seconds
        QSignalSpy accepted(h.Window.get(), &Main_F::closeAccepted);
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
        h.Window->close();
        const bool stillShownAfterClose = h.Window->isVisible();
        test::WaitUntilIdle(h.Link);
        QVERIFY(boxAnsweredAfterMs >= 600);
        QVERIFY(stillShownAfterClose);
        QCOMPARE(h.Dialogs.MessageTexts(), QStringList{"Module is connecting now!"});
        QVERIFY(h.Dialogs.Questions.isEmpty());
        QVERIFY(h.Window->Connected());

        h.Dialogs.YesNoAnswers = {false, true};
        h.Click("ExitProgram");
        QVERIFY(h.Window->isVisible());
        QCOMPARE(h.Dialogs.Questions.size(), 1);
        QCOMPARE(accepted.count(), 0);
        h.Window->close();
        QVERIFY(!h.Window->isVisible());
        QCOMPARE(accepted.count(), 1);
    }
};

}  // namespace
}  // namespace kv

QTEST_MAIN(kv::MainWindowConnectTest)
#include "MainWindowConnectTest.moc"
