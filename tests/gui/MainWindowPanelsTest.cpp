// The main window's three panels after a read-out of the virtual gateway: the toggles,
// filling the panels from the configuration, and the three Set buttons.

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <QtTest>

#include "MainWindowHarness.h"

namespace kv {
namespace {

using test::MainWindowHarness;

const QColor Red(255, 0, 0);
const QColor Grey(192, 192, 192);

class MainWindowPanelsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindowHarness> h;

    QLineEdit* Field(const QString& name) { return h->Find<QLineEdit>(name); }
    QComboBox* List(const QString& name) { return h->Find<QComboBox>(name); }
    int ShownPanel() { return h->Find<QStackedWidget>("Panels")->currentIndex(); }

    void Type(const QString& field, const QString& text) {
        Field(field)->clear();
        QTest::keyClicks(Field(field), text);
    }

    void Choose(const QString& list, int position) {
        List(list)->setCurrentIndex(position);
        Q_EMIT List(list)->activated(position);
    }

    QString LastMessage() const {
        return h->Dialogs.Messages.isEmpty() ? QString() : h->Dialogs.Messages.last().Text;
    }

private Q_SLOTS:
    void init() {
        h = std::make_unique<MainWindowHarness>();
        h->Connect();
        QVERIFY(h->Window.Connected());
    }
    void cleanup() { h.reset(); }

    void togglesSelectOnePanelAtATime() {
        h->Toggle(1)->click();
        QCOMPARE(ShownPanel(), 1);
        QVERIFY(h->Toggle(1)->isChecked());
        QCOMPARE(h->Toggle(1)->BackgroundColour(), Red);
        QVERIFY(!h->Toggle(0)->isChecked());
        QCOMPARE(h->Toggle(0)->BackgroundColour(), Grey);

        h->Toggle(2)->click();
        QCOMPARE(ShownPanel(), 2);
        QCOMPARE(h->Toggle(1)->BackgroundColour(), Grey);

        // The keyboard reaches the toggles too.
        h->Toggle(0)->setFocus();
        QTest::keyClick(h->Toggle(0), Qt::Key_Space);
        QCOMPARE(ShownPanel(), 0);

        // So do assistive tools, with the same handling.
        QAccessible::queryAccessibleInterface(h->Toggle(1))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::toggleAction());
        QCOMPARE(ShownPanel(), 1);
        QCOMPARE(h->Toggle(1)->BackgroundColour(), Red);
        QVERIFY(!h->Toggle(0)->isChecked());
    }

    void pressingTheSelectedToggleTwiceKeepsTypedText() {
        h->Toggle(2)->click();
        Type("MasterEtherParam_0", "10.1.1.9");
        h->Toggle(2)->click();  // released
        QVERIFY(!h->Toggle(2)->isChecked());
        QCOMPARE(h->Toggle(2)->BackgroundColour(), Grey);
        h->Toggle(2)->click();  // down again: the same panel, not refilled
        QVERIFY(h->Toggle(2)->isChecked());
        QCOMPARE(h->Toggle(2)->BackgroundColour(), Red);
        QCOMPARE(ShownPanel(), 2);
        QCOMPARE(Field("MasterEtherParam_0")->text(), QString("10.1.1.9"));
        QCOMPARE(h->Config.EthernetParams.Ip, QString("192.168.255.1"));

        h->Toggle(0)->click();  // another panel refills the one chosen after it
        h->Toggle(2)->click();
        QCOMPARE(Field("MasterEtherParam_0")->text(), QString("192.168.255.1"));
    }

    void panelsShowTheConfiguration() {
        h->Config.DeviceNetParams = {0, 7};
        h->Toggle(1)->click();
        QCOMPARE(List("ComBr")->currentText(), QString("19200      BPS"));
        QCOMPARE(Field("Txt_ComParaView_2")->text(), QString("EVEN"));

        const GatewayConfig before = h->Config;
        Choose("ComPo", 1);
        QCOMPARE(Field("Txt_ComParaView_0")->text(), QString("9600        BPS"));
        QCOMPARE(Field("Txt_ComParaView_2")->text(), QString("NONE"));
        QCOMPARE(h->Config.SerialClasses, before.SerialClasses);

        h->Toggle(2)->click();
        QCOMPARE(Field("MasterEtherParam_1")->text(), QString("192.168.0.1"));

        // Node ID 0 and an unknown baud index are shown as node 1 at the first rate.
        h->Toggle(0)->click();
        QCOMPARE(Field("CANNodeId")->text(), QString("1"));
        QCOMPARE(Field("Txt_DeviceNetParaView_1")->text(), QString("1"));
        QCOMPARE(h->Config.DeviceNetParams, (DeviceNetParams{1, 0}));
    }

    // The rules are ParameterChecksTest's; here that Set reaches them and shows the outcome.
    void deviceNetSetStoresOrRefuses() {
        Field("CANNodeId")->setText("64");
        List("CANBaudrate")->setCurrentIndex(1);
        h->Click("SettingDeviceNetParam");
        QCOMPARE(LastMessage(), QString("Node ID is not supported!(0~63)"));
        QCOMPARE(h->Dialogs.Messages.last().Title, QString("Error"));
        QCOMPARE(h->Config.DeviceNetParams, (DeviceNetParams{5, 2}));
        Field("CANNodeId")->setText(" 63");
        h->Click("SettingDeviceNetParam");
        QCOMPARE(h->Config.DeviceNetParams, (DeviceNetParams{63, 1}));
        QCOMPARE(Field("Txt_DeviceNetParaView_0")->text(), QString("250 KBPS"));
        QCOMPARE(Field("Txt_DeviceNetParaView_1")->text(), QString("63"));
        QCOMPARE(Field("CommunicationState")->text(), QString("Setting Devicenet Parameter Ok"));
    }

    // Each limit of the node ID at its edge: the node stored, or -1 for a refusal.
    void deviceNetNodeIdLimits() {
        const struct {
            QString typed;
            int stored;
        } rows[] = {{"", 0}, {"62.5", 62}, {"63.5", -1}, {"-1", -1}, {"9e9999", 0}};
        for (const auto& r : rows) {
            h->Config.DeviceNetParams = {5, 2};
            h->Dialogs.Messages.clear();
            Field("CANNodeId")->setText(r.typed);
            h->Click("SettingDeviceNetParam");
            QCOMPARE(int(h->Config.DeviceNetParams.NodeId), r.stored < 0 ? 5 : r.stored);
            QCOMPARE(LastMessage().isEmpty(), r.stored >= 0);
        }
    }

    void comSetStoresTheChosenPortWithItsChecksum() {
        h->Toggle(1)->click();
        const GatewayConfig before = h->Config;
        Choose("ComPo", 1);
        List("ComBr")->setCurrentIndex(6);  // 57600
        List("ComDb")->setCurrentIndex(1);  // 8
        List("ComPb")->setCurrentIndex(2);  // odd
        List("ComSb")->setCurrentIndex(1);  // 2
        h->Click("SettingCOMParameter");

        QVERIFY(h->Dialogs.Messages.isEmpty());
        const SerialClassRecord& com2 = h->Config.SerialClasses[1];
        QCOMPARE(com2.Baud, 57600.0);
        QCOMPARE(int(com2.PortChecksum), 237);
        QCOMPARE(int(h->Config.ComBaudIndex[1]), 6);
        QCOMPARE(h->Config.SerialClasses[0], before.SerialClasses[0]);
        QCOMPARE(h->Config.ComBaudIndex[0], before.ComBaudIndex[0]);
        QCOMPARE(com2.Commands, before.SerialClasses[1].Commands);
        QCOMPARE(Field("Txt_ComParaView_2")->text(), QString("ODD"));
        QCOMPARE(Field("CommunicationState")->text(), QString("Setting COM Parameter Ok"));
    }

    void ethernetSetStoresOrRefuses() {
        h->Toggle(2)->click();
        const QStringList typed = {" 10.0.0.5 ", "10.0.0.255", "255.0.0.0"};
        for (int i = 0; i < 3; ++i)
            Field(QStringLiteral("MasterEtherParam_%1").arg(i))->setText(typed[i]);
        h->Click("SettingEthernetParameter");
        QCOMPARE(LastMessage(), QString("Invalid Gateway address!"));
        QCOMPARE(h->Config.EthernetParams.Ip, QString("10.0.0.5"));  // stored before the refusal
        QCOMPARE(h->Config.EthernetParams.Gateway, QString("192.168.0.1"));
        Field("MasterEtherParam_1")->setText("10.0.0.1  ");
        h->Click("SettingEthernetParameter");
        QCOMPARE(h->Config.EthernetParams.Gateway, QString("10.0.0.1"));
        QCOMPARE(h->Config.EthernetParams.Mask, QString("255.0.0.0"));
        QCOMPARE(Field("Txt_EthernetParaView_1")->text(), QString("10.0.0.1"));

        // The other limits at their edges: the host part, and the mask's parts.
        const struct {
            QStringList typed;
            QString message;
        } rows[] = {{{"10.0.0.0", "10.0.0.1", "255.0.0.0"}, "Invalid IP address!"},
                    {{"10.0.0.255", "10.0.0.1", "255.0.0.0"}, "Invalid IP address!"},
                    {{"10.0.0.5", "10.0.0.1", "255.256.0.0"}, "Invalid Mask address!"},
                    {{"10.0.0.5", "10.0.0.1", "255.255.255.255"}, ""}};
        for (const auto& r : rows) {
            h->Dialogs.Messages.clear();
            for (int i = 0; i < 3; ++i)
                Field(QStringLiteral("MasterEtherParam_%1").arg(i))->setText(r.typed[i]);
            h->Click("SettingEthernetParameter");
            QCOMPARE(LastMessage(), r.message);
        }
        QCOMPARE(h->Config.EthernetParams.Mask, QString("255.255.255.255"));
    }
};

}  // namespace
}  // namespace kv

QTEST_MAIN(kv::MainWindowPanelsTest)
#include "MainWindowPanelsTest.moc"
