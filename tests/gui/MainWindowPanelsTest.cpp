// The main window's three panels after a read-out of the virtual gateway: the toggles,
// filling the panels from the configuration, and the three Set buttons.

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <QtTest>

#include "WindowRig.h"

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
        QVERIFY(h->Window->Connected());
    }
    void cleanup() { h.reset(); }

    void togglesSelectOnePanelAtATime() {
        h->Toggle(1)->click();
        QCOMPARE(ShownPanel(), 1);
        QCOMPARE(h->Toggle(1)->BackgroundColour(), Red);
        QVERIFY(!h->Toggle(0)->isChecked());
        QCOMPARE(h->Toggle(0)->BackgroundColour(), Grey);

        // The keyboard reaches the toggles too.
        h->Toggle(0)->setFocus();
        QTest::keyClick(h->Toggle(0), Qt::Key_Space);
        QCOMPARE(ShownPanel(), 0);
        QCOMPARE(h->Toggle(1)->BackgroundColour(), Grey);

        // So do assistive tools, with the same handling.
        QAccessible::queryAccessibleInterface(h->Toggle(2))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::toggleAction());
        QCOMPARE(ShownPanel(), 2);
        QCOMPARE(h->Toggle(2)->BackgroundColour(), Red);
        QVERIFY(!h->Toggle(0)->isChecked());
    }

    void pressingTheSelectedToggleTwiceKeepsTypedText() {
        h->Toggle(2)->click();
        Type("MasterEtherParam_0", "10.1.1.9");
        h->Toggle(2)->click();  // released
        QCOMPARE(h->Toggle(2)->BackgroundColour(), Grey);
        h->Toggle(2)->click();  // down again: the same panel, not refilled
        QCOMPARE(ShownPanel(), 2);
        QCOMPARE(Field("MasterEtherParam_0")->text(), QString("10.1.1.9"));

        h->Toggle(0)->click();  // another panel refills the one chosen after it
        h->Toggle(2)->click();
        QCOMPARE(Field("MasterEtherParam_0")->text(), QString("192.168.255.1"));
    }

    void panelsShowTheConfiguration() {
        h->Config.DeviceNetParams = {0, 7};
        h->Toggle(1)->click();
        QCOMPARE(List("ComBr")->currentText(), QString("19200      BPS"));
        QCOMPARE(Field("Txt_ComParaView_2")->text(), QString("EVEN"));
        Choose("ComPo", 1);
        QCOMPARE(Field("Txt_ComParaView_0")->text(), QString("9600        BPS"));
        QCOMPARE(Field("Txt_ComParaView_2")->text(), QString("NONE"));

        // Node ID 0 and an unknown baud index are shown as node 1 at the first rate.
        h->Toggle(0)->click();
        QCOMPARE(Field("CANNodeId")->text(), QString("1"));
        QCOMPARE(h->Config.DeviceNetParams, (DeviceNetParams{1, 0}));
    }

    // The node ID rule is held here: each limit at its edge, the node stored or -1 for a
    // refusal, which keeps the node and baud rate read.
    void deviceNetSetStoresOrRefuses() {
        const struct {
            QString typed;
            int stored;
        } rows[] = {{" 63", 63},  {"64", -1}, {"", 0},      {"62.5", 62},
                    {"63.5", -1}, {"-1", -1}, {"9e9999", 0}};
        for (const auto& r : rows) {
            h->Config.DeviceNetParams = {5, 2};
            h->Dialogs.Messages.clear();
            Field("CANNodeId")->setText(r.typed);
            List("CANBaudrate")->setCurrentIndex(1);
            h->Click("SettingDeviceNetParam");
            QCOMPARE(
                h->Config.DeviceNetParams,
                (r.stored < 0 ? DeviceNetParams{5, 2} : DeviceNetParams{uint8_t(r.stored), 1}));
            QCOMPARE(LastMessage(), r.stored < 0 ? QString("Node ID is not supported!(0~63)") : "");
        }
        QCOMPARE(Field("Txt_DeviceNetParaView_0")->text(), QString("250 KBPS"));
        QCOMPARE(Field("CommunicationState")->text(), QString("Setting Devicenet Parameter Ok"));
    }

    // The check byte's rule is ParameterChecksTest's; here the lists reach it.
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
        QCOMPARE(h->Config.SerialClasses[1].Baud, 57600.0);
        QCOMPARE(int(h->Config.SerialClasses[1].PortChecksum), 237);
        QCOMPARE(int(h->Config.ComBaudIndex[1]), 6);
        QCOMPARE(h->Config.SerialClasses[0], before.SerialClasses[0]);
        QCOMPARE(Field("Txt_ComParaView_2")->text(), QString("ODD"));
    }

    // The address rules are held here: each limit at its edge, and what is stored before the
    // first refusal stays.
    void ethernetSetStoresOrRefuses() {
        h->Toggle(2)->click();
        const struct {
            QStringList typed;
            QString message;
            QStringList stored;
        } rows[] = {
            {{" 10.0.0.5 ", "10.0.0.255", "255.0.0.0"},
             "Invalid Gateway address!",
             {"10.0.0.5", "192.168.0.1", "255.255.255.0"}},
            {{"10.0.0.0", "10.0.0.1", "255.0.0.0"},
             "Invalid IP address!",
             {"192.168.255.1", "192.168.0.1", "255.255.255.0"}},
            {{"10.0.0.5", "10.0.0.1", "255.256.0.0"},
             "Invalid Mask address!",
             {"10.0.0.5", "10.0.0.1", "255.255.255.0"}},
            {{"10.0.0.254", "10.0.0.1  ", "255.255.255.255"},
             "",
             {"10.0.0.254", "10.0.0.1", "255.255.255.255"}},
        };
        const EthernetParams read = h->Config.EthernetParams;
        for (const auto& r : rows) {
            h->Config.EthernetParams = read;
            h->Dialogs.Messages.clear();
            for (int i = 0; i < 3; ++i)
                Field(QStringLiteral("MasterEtherParam_%1").arg(i))->setText(r.typed[i]);
            h->Click("SettingEthernetParameter");
            QCOMPARE(LastMessage(), r.message);
            const EthernetParams& stored = h->Config.EthernetParams;
            QCOMPARE((QStringList{stored.Ip, stored.Gateway, stored.Mask}), r.stored);
        }
        QCOMPARE(Field("Txt_EthernetParaView_1")->text(), QString("10.0.0.1"));
    }
};

}  // namespace
}  // namespace kv

QTEST_MAIN(kv::MainWindowPanelsTest)
#include "MainWindowPanelsTest.moc"
