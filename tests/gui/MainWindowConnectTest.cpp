// The main window's read-out: its three looks, a read-out that succeeds and the ways one
// fails, re-entry and shut-down, against the virtual gateway.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QtTest>
#include <optional>

#include "MainWindowHarness.h"
#include "console/ReadOut.h"

namespace kv {
namespace {

using test::MainWindowHarness;

// A console that answers every line with the prompt of a controller this program does
// not know.
class StrangerPort : public SerialPort {
public:
    void SelectPort(int number) override { selected_ = number; }
    int SelectedPort() const override { return selected_; }
    PortOpenResult Open() override {
        open_ = true;
        return {};
    }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    void ClearReceiveBuffer() override { received_.clear(); }
    int BytesWaiting() override { return int(received_.size()); }
    QByteArray ReadAll() override { return std::exchange(received_, {}); }
    int BytesToSend() override { return 0; }
    void Write(const QByteArray& bytes) override {
        for (const char c : bytes) {
            if (c != '\r') continue;
            ++Lines;
            received_ += "\r\nPLC-200>";
        }
    }
    int Lines = 0;

private:
    int selected_ = 1;
    bool open_ = false;
    QByteArray received_;
};

// What the read-out look shows while the console is being read.
struct ReadingLook {
    QString State;
    bool ConnectEnabled, ComPortEnabled, NextEnabled, ExitEnabled, ProgressShown, TogglesShown;
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
        QCOMPARE(h.Window.windowTitle(), QString("General Setting"));
        auto* ports = h.Find<QComboBox>("ComPort");
        QCOMPARE(ports->count(), 16);
        QCOMPARE(ports->itemText(0), QString("COM 1"));
        QCOMPARE(ports->itemText(15), QString("COM 16"));
        QCOMPARE(ports->currentIndex(), 0);
        QVERIFY(!ports->itemData(2, Qt::ToolTipRole).toString().isEmpty());
        for (const char* name :
             {"ComCaption_0", "ComImage_1", "ComButton_2", "MousePoint_0", "ModulesImage",
              "Image6102", "CANBaudrate", "CANNodeId", "SettingDeviceNetParam", "ParaSettingC0_1",
              "Txt_DeviceNetParaView_0", "ConnectProgress"})
            QVERIFY2(h.Find(name)->isHidden(), name);
        QVERIFY(!h.Find("CreateMBDevice")->isEnabled());
        for (const char* name : {"Connect", "ComPort", "ExitProgram"})
            QVERIFY2(h.Find(name)->isEnabled(), name);
        QVERIFY(h.Find<QLineEdit>("FirmwareVer")->text().isEmpty());
        QVERIFY(h.Find<QLineEdit>("CommunicationState")->text().isEmpty());
        QCOMPARE(h.Config.DeviceNetParams, DeviceNetParams{});
        QCOMPARE(h.Window.SelectedPanel(), int(Main_F::NoPanel));
        h.Render("main-window-not-connected");
    }

    void readsTheGatewayAndShowsTheConnectedLook() {
        MainWindowHarness h;
        std::optional<ReadingLook> reading;
        QList<int> progress;
        h.Gateway.Pump.EachYield = [&] {
            QCoreApplication::processEvents();
            const int value = h.Find<QProgressBar>("ConnectProgress")->value();
            if (progress.isEmpty() || progress.last() != value) progress << value;
            if (reading || !h.Gateway.LinesReceived().contains("use eeprom")) return;
            reading = ReadingLook{h.Find<QLineEdit>("CommunicationState")->text(),
                                  h.Find("Connect")->isEnabled(),
                                  h.Find("ComPort")->isEnabled(),
                                  h.Find("CreateMBDevice")->isEnabled(),
                                  h.Find("ExitProgram")->isEnabled(),
                                  h.Find("ConnectProgress")->isVisible(),
                                  h.Toggle(0)->isVisible()};
        };
        h.Connect();

        QVERIFY(reading.has_value());
        QCOMPARE(reading->State, QString("Connecting"));
        QVERIFY(!reading->ConnectEnabled && !reading->ComPortEnabled && !reading->NextEnabled &&
                !reading->ExitEnabled);
        QVERIFY(reading->ProgressShown);
        QVERIFY(!reading->TogglesShown);
        QCOMPARE(progress, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8}));

        QVERIFY(h.Dialogs.Messages.isEmpty());
        QVERIFY(h.Window.Connected());
        QVERIFY(!h.Session.ConnectBusy);
        QVERIFY(!h.Gateway.Port.IsOpen());
        QCOMPARE(h.Gateway.LinesReceived().last(), QString("quit"));
        QCOMPARE(h.Find<QLineEdit>("FirmwareVer")->text(), QString("1.03-2009/07/15"));
        QCOMPARE(h.Find<QLineEdit>("CommunicationState")->text(),
                 QString("Waiting for configuration"));
        const GatewayConfig demo = sim::DemoConfig();
        QCOMPARE(h.Config.SerialClasses, demo.SerialClasses);
        QCOMPARE(h.Config.TcpClasses, demo.TcpClasses);
        QCOMPARE(h.Config.DeviceNetParams, demo.DeviceNetParams);
        QCOMPARE(h.Config.EthernetParams, sim::ConsoleEmulator::FactoryNetwork());

        for (const char* name : {"ComCaption_0", "ComImage_1", "ComButton_2", "MousePoint_0",
                                 "ModulesImage", "Image6102", "CANBaudrate", "CANNodeId",
                                 "SettingDeviceNetParam", "Txt_DeviceNetParaView_1"})
            QVERIFY2(h.Find(name)->isVisible(), name);
        for (const char* name : {"Connect", "ComPort", "ExitProgram", "CreateMBDevice"})
            QVERIFY2(h.Find(name)->isEnabled(), name);
        QVERIFY(h.Find("ConnectProgress")->isHidden());

        // The DeviceNet panel is selected as if its toggle had been pressed.
        QCOMPARE(h.Window.SelectedPanel(), int(Main_F::DeviceNetPanel));
        QVERIFY(h.Toggle(0)->isChecked());
        QCOMPARE(h.Toggle(0)->BackgroundColour(), QColor(255, 0, 0));
        for (int i : {1, 2}) {
            QVERIFY(!h.Toggle(i)->isChecked());
            QCOMPARE(h.Toggle(i)->BackgroundColour(), QColor(192, 192, 192));
        }
        QCOMPARE(h.Find<QStackedWidget>("Panels")->currentIndex(), 0);
        QCOMPARE(h.Find<QLineEdit>("CANNodeId")->text(), QString("5"));
        QCOMPARE(h.Find<QComboBox>("CANBaudrate")->currentText(), QString("500 KBPS"));
        QCOMPARE(h.Find<QLineEdit>("Txt_DeviceNetParaView_0")->text(), QString("500 KBPS"));
        QCOMPARE(h.Find<QLineEdit>("Txt_DeviceNetParaView_1")->text(), QString("5"));
        h.Render("main-window-connected");
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
        MainWindowHarness h;
        StrangerPort stranger;
        ConsoleLink link(stranger, h.Gateway.Clock, h.Gateway.Pump);
        kv::Session session{h.Config, link, h.Dialogs};
        Main_F window(session);
        window.show();
        QTest::mouseClick(window.findChild<QPushButton*>("Connect"), Qt::LeftButton);

        QCOMPARE(h.Dialogs.Messages.size(), 1);
        QCOMPARE(h.Dialogs.Messages[0].Text, QString("This modules is not 5308!"));
        QCOMPARE(h.Dialogs.Messages[0].Title, QString("Error"));
        QCOMPARE(window.findChild<QLineEdit*>("CommunicationState")->text(), QString("Timeout"));
        QCOMPARE(stranger.Lines, 7);  // the handshake only
        QVERIFY(!stranger.IsOpen());
        QVERIFY(window.findChild<QPushButton*>("Connect")->isEnabled());
        QVERIFY(!window.Connected());
    }

    void silentOrVanishingGatewayEndsInTimeout_data() {
        QTest::addColumn<int>("silentAfterLines");
        QTest::addColumn<bool>("unplug");
        QTest::newRow("silent from the start") << 0 << false;
        QTest::newRow("silent in block 1") << 40 << false;
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
            h.Gateway.Pump.EachYield = [&] {
                if (h.Gateway.LinesReceived().size() == 60 && h.Gateway.IsPlugged())
                    h.Gateway.Unplug();
            };
        }
        h.Gateway.Console.Faults.StopAfterLines = silentAfterLines;
        h.Dialogs.Messages.clear();
        h.Connect();

        QCOMPARE(h.Dialogs.Messages.size(), 1);
        QCOMPARE(h.Dialogs.Messages[0].Text, QString("Timeout"));
        QCOMPARE(h.Dialogs.Messages[0].Title, QString("Error"));
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
        QCOMPARE(h.Dialogs.Messages.last().Title, QString("Error"));
        QCOMPARE(state->text(), QString("earlier"));

        h.Gateway.Port.NextOpenResult = {PortOpenError::InUse, {}};
        h.Connect();
        QCOMPARE(h.Dialogs.Messages.last().Text, QString("COM 3 has been occupied"));
        QCOMPARE(h.Dialogs.Messages.last().Title, QString("Error"));
        QCOMPARE(state->text(), QString("COM 3 has been occupied"));

        h.Gateway.Port.NextOpenResult = {PortOpenError::Other, "Permission denied"};
        h.Connect();
        QCOMPARE(h.Dialogs.Messages.last().Text, QString("Permission denied"));
        QCOMPARE(h.Dialogs.Messages.last().Title, QString());
        QVERIFY(state->text().isEmpty());

        QCOMPARE(h.Dialogs.Messages.size(), 3);
        QVERIFY(h.Gateway.LinesReceived().isEmpty());
        QVERIFY(h.Find("Connect")->isEnabled());
    }

    void connectDuringAReadOutStartsNoSecondOne() {
        MainWindowHarness h;
        int extraPresses = 0;
        h.Gateway.Pump.EachYield = [&] {
            if (extraPresses == 0 && h.Gateway.LinesReceived().size() == 10) {
                ++extraPresses;
                h.Window.ConnectSequence();
                h.Click("Connect");
            }
        };
        h.Connect();
        QCOMPARE(extraPresses, 1);
        QCOMPARE(h.Gateway.Port.OpenCount, 1);
        QCOMPARE(h.Gateway.LinesReceived().count("use eeprom"), 1);
        QVERIFY(h.Window.Connected());
    }

    void closingAsksAndIsRefusedDuringAReadOut() {
        MainWindowHarness h;
        QSignalSpy accepted(&h.Window, &Main_F::closeAccepted);
        bool stillShownAfterClose = false;
        h.Gateway.Pump.EachYield = [&] {
            if (!accepted.isEmpty() || !h.Dialogs.Messages.isEmpty()) return;
            if (h.Gateway.LinesReceived().size() != 12) return;
            h.Window.close();
            stillShownAfterClose = h.Window.isVisible();
        };
        h.Connect();
        QVERIFY(stillShownAfterClose);
        QCOMPARE(h.Dialogs.Messages.size(), 1);
        QCOMPARE(h.Dialogs.Messages[0].Text, QString("Module is connecting now!"));
        QCOMPARE(h.Dialogs.Messages[0].Title, QString("Error"));
        QVERIFY(h.Dialogs.Questions.isEmpty());
        QVERIFY(h.Window.Connected());

        h.Dialogs.YesNoAnswers = {false, true};
        h.Click("ExitProgram");
        QVERIFY(h.Window.isVisible());
        QCOMPARE(h.Dialogs.Questions.size(), 1);
        QCOMPARE(h.Dialogs.Questions[0].Text, QString("Are you sure to exit this program?"));
        QCOMPARE(h.Dialogs.Questions[0].Title, QString("Exit Query"));
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
