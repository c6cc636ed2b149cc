// The main window against the virtual gateway: the read-out, its looks and the ways one
// fails, re-entry and shut-down; the report's fields; then the three panels, their toggles
// and Set buttons.

#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QtTest>

#include "MainWindowHarness.h"
#include "support/TestFiles.h"

namespace kv {
namespace {

using test::MainWindowHarness;

const QColor Red(255, 0, 0);
const QColor Grey(192, 192, 192);

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindowHarness> h;

    QLineEdit* Field(const QString& name) { return h->Find<QLineEdit>(name); }
    QComboBox* List(const QString& name) { return h->Find<QComboBox>(name); }
    int ShownPanel() { return h->Find<QStackedWidget>("Panels")->currentIndex(); }

private Q_SLOTS:
    void init() { h = std::make_unique<MainWindowHarness>(); }
    void cleanup() { h.reset(); }

    void readsTheGatewayAndShowsTheConnectedLook() {
        QCOMPARE(h->Find<QComboBox>("ComPort")->count(), 16);
        QVERIFY(!h->Find<QComboBox>("ComPort")->itemData(2, Qt::ToolTipRole).toString().isEmpty());
        // Next before a read-out only flips the status line's style.
        QSignalSpy next(&h->Window, &Main_F::nextRequested);
        auto* state = h->Find<QLineEdit>("CommunicationState");
        h->Find<QPushButton>("CreateMBDevice")->setEnabled(true);  // as a script might
        h->Click("CreateMBDevice");
        QCOMPARE(state->text(), QString("Connect KV-9052R First"));
        QVERIFY(state->font().bold());
        h->Click("CreateMBDevice");
        QVERIFY(!state->font().bold());
        QCOMPARE(next.count(), 0);

        bool checkedWhileReading = false;
        int extraPresses = 0;
        QList<int> progress;
        auto* bar = h->Find<QProgressBar>("ConnectProgress");
        QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
            if (progress.isEmpty() || progress.last() != value) progress << value;
            // Connect pressed during the read-out starts no second one.
            if (value == 2 && extraPresses++ == 0) {
                h->Window.ConnectSequence();
                h->Click("Connect");
            }
            if (checkedWhileReading || value < 3) return;
            checkedWhileReading = true;
            QCOMPARE(Field("CommunicationState")->text(), QString("Connecting"));
            QCOMPARE(h->Enabled({"Connect", "ComPort", "ExitProgram", "CreateMBDevice"}), "0000");
            QVERIFY(bar->isVisible() && h->Session.Gateway.IsBusy());
            // The focus stays on Connect, off the read-only fields.
            QCOMPARE(h->Window.focusWidget(), h->Find("Connect"));
        });
        h->Connect();

        QCOMPARE(h->Gateway.Port.OpenCount, 1);
        QCOMPARE(progress, (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
        QVERIFY(h->Window.Connected() && !h->Session.Gateway.IsBusy() && !h->Gateway.Port.IsOpen());
        QCOMPARE(Field("CommunicationState")->text(), QString("Waiting for configuration"));
        QCOMPARE(h->Enabled({"Connect", "ComPort", "ExitProgram", "CreateMBDevice"}), "1111");
        QVERIFY(bar->isHidden() && h->Find("ModulesImage")->isVisible());
        QCOMPARE(h->Window.focusWidget(), h->Find("Connect"));
        // The DeviceNet panel is selected as if its toggle had been pressed.
        QVERIFY(h->Toggle(0)->isChecked());
        QCOMPARE(Field("CANNodeId")->text(), QString("5"));
        QVERIFY(!state->font().bold());  // a read-out sets the style back
        h->Click("CreateMBDevice");
        QCOMPARE(next.count(), 1);
    }

    // How a read-out fails is ReadOutTest's, and the port's messages are PortOpening's; here
    // the message and status line each path of failure leaves, and the window given back.
    // A device that goes away during the handshake ends the read-out at once.
    void failedReadOutShowsWhyAndGivesTheWindowBack() {
        const struct {
            int silentAfterLines, lostAtLine;
            PortOpenResult open;
            QString message, state;
            uint32_t maxMs;
        } rows[] = {{0, 0, {}, "Timeout", "Timeout", 1500},
                    {4, 5, {}, "Input/output error", "Timeout", 300},
                    {-1, 0, {PortOpenError::NotOpened, {}}, "Can't open COM 3!", "earlier", 0},
                    {-1,
                     0,
                     {PortOpenError::InUse, {}},
                     "COM 3 has been occupied",
                     "COM 3 has been occupied",
                     0}};
        for (const auto& r : rows) {
            h = std::make_unique<MainWindowHarness>();
            h->Find<QComboBox>("ComPort")->setCurrentIndex(2);
            Field("CommunicationState")->setText("earlier");
            h->Gateway.Console.Faults.StopAfterLines = r.silentAfterLines;
            h->Gateway.Port.NextOpenResult = r.open;
            h->Gateway.Port.EachWait = [this, &r] {
                if (r.lostAtLine && h->Gateway.LinesReceived().size() == r.lostAtLine)
                    h->Gateway.Lose("Input/output error");
            };
            const uint32_t startMs = h->Gateway.Clock.Milliseconds();
            h->Connect();
            QVERIFY(h->Gateway.Clock.Milliseconds() - startMs <= r.maxMs);
            QCOMPARE(h->Gateway.Port.SelectedPort(), 3);
            QCOMPARE(h->Dialogs.MessageTexts(), QStringList{r.message});
            // A gateway that never answered: what to check comes first under the details.
            QCOMPARE(h->Dialogs.Messages[0].Details.startsWith("The gateway never answered."),
                     r.silentAfterLines == 0);
            QCOMPARE(Field("CommunicationState")->text(), r.state);
            QCOMPARE(h->Enabled({"Connect", "ComPort", "ExitProgram", "CreateMBDevice"}), "1110");
            for (const char* name : {"ComButton_0", "ModulesImage", "CANNodeId",
                                     "SettingDeviceNetParam", "ParaSettingC0_1", "ConnectProgress"})
                QVERIFY2(h->Find(name)->isHidden(), name);
            QVERIFY(!h->Gateway.Port.IsOpen() && !h->Session.Gateway.IsBusy() &&
                    !h->Window.Connected());
        }
    }

    void closingIsRefusedDuringAReadOutAndAskedAfterIt() {
        QSignalSpy accepted(&h->Window, &Main_F::closeAccepted);
        h->Click("Connect");
        h->Window.close();  // before the read-out's first reply reached the window
        QVERIFY(h->Window.isVisible());
        test::WaitUntilIdle(h->Link);
        QCOMPARE(h->Dialogs.MessageTexts(), QStringList{"Module is connecting now!"});
        QVERIFY(h->Dialogs.Questions.isEmpty());

        h->Dialogs.YesNoAnswers = {false, true};
        h->Click("ExitProgram");
        QVERIFY(h->Window.isVisible());
        QCOMPARE(h->Dialogs.Questions.size(), 1);
        QCOMPARE(accepted.count(), 0);
        h->Window.close();
        QVERIFY(!h->Window.isVisible());
        QCOMPARE(accepted.count(), 1);
    }

    // "Export Report..." asks for the plant's fields, then for the file, and writes both,
    // with what the editor's probes found.
    void exportReportTakesThePlantsFields() {
        h->Connect();
        ProbeResult timeout{3, 2, 16, 3, "40101", ProbeOutcome::Timeout, 0, {}, "no answer"};
        h->Session.Probes = {{QDateTime::currentDateTime(), {timeout}}};
        QTemporaryDir folder;
        const QString path = folder.filePath("r.html");
        h->Dialogs.FileAnswers << path;
        h->Find<QAction>("MenuExportReport")->trigger();
        QVERIFY(h->Find<QDialog>("ExportReport")->isVisible());
        QTest::keyClicks(Field("ReportSite"), "Plant A");
        h->Click("ReportExport");
        QTRY_COMPARE(h->Dialogs.MessageTexts(),
                     QStringList{"The report was written to " + path + "."});
        QVERIFY(test::ReadAll(path).contains("Plant A"));
        QVERIFY(test::ReadAll(path).contains("<h2>Modbus devices</h2>"));
        QVERIFY(
            test::ReadAll(path).contains("<td style=\"white-space: nowrap\">Server2/2</td>"
                                         "<td>FC16 probed by reading with FC03</td>"));
    }

    // The toggles select one panel at a time, keeping what was typed.
    // Each panel shows the configuration and its Set button stores or refuses what was
    // typed; the limits are SettingLimitsTest's and the check byte's rule
    // SettingLimits', here the lists and fields reach them.
    void panelsShowAndSetTheConfiguration() {
        h->Connect();
        h->Toggle(1)->click();
        QCOMPARE(ShownPanel(), 1);
        QCOMPARE(h->Toggle(1)->BackgroundColour(), Red);

        // Assistive tools reach the toggles too, with the same handling.
        QAccessible::queryAccessibleInterface(h->Toggle(2))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::toggleAction());
        QCOMPARE(ShownPanel(), 2);
        QVERIFY(!h->Toggle(1)->isChecked());
        QCOMPARE(h->Toggle(1)->BackgroundColour(), Grey);

        // Pressing the selected toggle twice keeps what was typed.
        QTest::keyClicks(Field("MasterEtherParam_0"), "9");
        h->Toggle(2)->click();  // released
        QCOMPARE(h->Toggle(2)->BackgroundColour(), Grey);
        h->Toggle(2)->click();  // down again: the same panel, not refilled
        QCOMPARE(ShownPanel(), 2);
        QCOMPARE(Field("MasterEtherParam_0")->text(), QString("192.168.255.19"));

        h->Toggle(0)->click();  // another panel refills the one chosen after it
        h->Toggle(2)->click();
        QCOMPARE(Field("MasterEtherParam_0")->text(), QString("192.168.255.1"));

        h->Toggle(0)->click();
        const QString refused = "Node ID is not supported!(0~63)";
        const struct {
            QString typed;
            DeviceNetParams stored;
            QString message;
        } nodes[] = {{" 0", {0, 1}, ""}, {"64", {0, 1}, refused}};
        for (const auto& r : nodes) {
            h->Dialogs.Messages.clear();
            Field("CANNodeId")->setText(r.typed);
            List("CANBaudrate")->setCurrentIndex(1);
            h->Click("SettingDeviceNetParam");
            QCOMPARE(h->Config.DeviceNetParams, r.stored);
            QCOMPARE(h->Dialogs.MessageTexts().join(""), r.message);
        }
        QCOMPARE(h->Dialogs.Messages.last().Title, QString("Error"));
        QCOMPARE(Field("Txt_DeviceNetParaView_0")->text(), QString("250 KBPS"));
        QCOMPARE(Field("Txt_DeviceNetParaView_1")->text(), QString("0"));
        QCOMPARE(Field("CommunicationState")->text(), QString("Setting Devicenet Parameter Ok"));

        h->Config.DeviceNetParams = {0, 7};
        h->Toggle(1)->click();
        QCOMPARE(List("ComBr")->currentText(), QString("19200      BPS"));
        QCOMPARE(Field("Txt_ComParaView_2")->text(), QString("EVEN"));
        h->Choose(List("ComPo"), 1);
        QCOMPARE(Field("Txt_ComParaView_0")->text(), QString("9600        BPS"));
        QCOMPARE(Field("Txt_ComParaView_2")->text(), QString("NONE"));

        // Node ID 0 is an address and stays; a node ID past 63 and an unknown baud index are
        // shown as node 1 at the first rate.
        h->Toggle(0)->click();
        QCOMPARE(Field("CANNodeId")->text(), QString("0"));
        QCOMPARE(h->Config.DeviceNetParams, (DeviceNetParams{0, 0}));
        h->Config.DeviceNetParams = {64, 7};
        h->Toggle(1)->click();
        h->Toggle(0)->click();
        QCOMPARE(Field("Txt_DeviceNetParaView_1")->text(), QString("1"));
        QCOMPARE(h->Config.DeviceNetParams, (DeviceNetParams{1, 0}));
        h->Toggle(2)->click();
        QCOMPARE(Field("MasterEtherParam_1")->text(), QString("192.168.0.1"));

        h->Toggle(1)->click();
        h->Choose(List("ComPo"), 1);
        List("ComBr")->setCurrentIndex(6);  // 57600
        List("ComDb")->setCurrentIndex(1);  // 8
        List("ComPb")->setCurrentIndex(2);  // odd
        List("ComSb")->setCurrentIndex(1);  // 2
        h->Click("SettingCOMParameter");

        QCOMPARE(h->Config.SerialClasses[1].Baud, 57600.0);
        QCOMPARE(int(h->Config.SerialClasses[1].PortChecksum), 237);
        QCOMPARE(int(h->Config.ComBaudIndex[1]), 6);
        QCOMPARE(Field("Txt_ComParaView_2")->text(), QString("ODD"));
        QCOMPARE(Field("CommunicationState")->text(), QString("Setting COM Parameter Ok"));

        h->Toggle(2)->click();
        const struct {
            QString ip, gateway, mask, message, storedIp;
        } addresses[] = {
            {"10.0.0.0", "10.0.0.1", "255.0.0.0", "Invalid IP address!", "192.168.255.1"},
            {"10.0.0.254", "10.0.0.1", "255.255.255.255", "", "10.0.0.254"},
        };
        for (const auto& r : addresses) {
            h->Dialogs.Messages.clear();
            Field("MasterEtherParam_0")->setText(r.ip);
            Field("MasterEtherParam_1")->setText(r.gateway);
            Field("MasterEtherParam_2")->setText(r.mask);
            h->Click("SettingEthernetParameter");
            QCOMPARE(h->Dialogs.MessageTexts().join(""), r.message);
            QCOMPARE(h->Config.EthernetParams.Ip, r.storedIp);
        }
        QCOMPARE(h->Config.EthernetParams,
                 (EthernetParams{"10.0.0.254", "255.255.255.255", "10.0.0.1"}));
        QCOMPARE(Field("Txt_EthernetParaView_2")->text(), QString("255.255.255.255"));
    }
};

}  // namespace
}  // namespace kv

QTEST_MAIN(kv::MainWindowTest)
#include "MainWindowTest.moc"
