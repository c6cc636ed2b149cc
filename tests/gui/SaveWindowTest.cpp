// The save window driven as a user would, against the virtual gateway: the poll path lists,
// "Set Path", "Save", "Factory Setting", "Back" and every failure the user can meet.

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "sim/DemoImages.h"
#include "support/ReadForEditing.h"
#include "support/RecordingDialogs.h"
#include "support/SessionOnGateway.h"
#include "support/SimulatedGateway.h"
#include "support/TestFiles.h"
#include "ui/common/Session.h"
#include "ui/save/EDSAndEEPSet.h"

namespace kv {
namespace {

using test::RecordingDialogs;
using test::SimulatedGateway;

// A gateway read as the main window reads it, the editor's working copy made, and the
// save window open on it.
struct Rig {
    explicit Rig(const EepromImage& image = sim::DemoImage()) {
        gateway.Console.Eeprom = image;
        before = image;
        session.PortNumber = 3;
        session.SetCommunicationState = [this](const QString& text) { states.append(text); };
        readLines = test::ReadOnSession(link, gateway, config);
        [&] { QVERIFY(readLines >= 0); }();
    }

    EDSAndEEPSet& Open() {
        window = std::make_unique<EDSAndEEPSet>(session);
        window->SetEdsFolders({edsFolder.path()});
        window->show();
        return *window;
    }

    template <typename T>
    T* Find(const QString& name) {
        return window->findChild<T*>(name);
    }
    QPushButton* Button(const QString& name) { return Find<QPushButton>(name); }
    QComboBox* Combo(const QString& name) { return Find<QComboBox>(name); }

    static QStringList Items(QComboBox* combo) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
        return items;
    }

    void Choose(const QString& comboName, const QString& text) {
        QComboBox* combo = Combo(comboName);
        const int index = combo->findText(text);
        QVERIFY2(index >= 0, qPrintable(text));
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
    }

    // Clicks and waits until what the click started on the gateway has ended.
    void Press(const char* name) {
        Button(name)->click();
        test::WaitUntilIdle(link);
    }

    bool ButtonsEnabled() {
        return Button("FinishDeviceSet")->isEnabled() && Button("BackButton")->isEnabled() &&
               Button("Btn_FactorySet")->isEnabled();
    }

    QStringList LinesSent() const { return gateway.LinesReceived().mid(readLines); }

    SimulatedGateway gateway;
    GatewaySession link{test::DevicesOf(gateway)};
    GatewayConfig config;
    RecordingDialogs dialogs;
    Session session{config, link, dialogs};
    QStringList states;
    EepromImage before;
    int readLines = 0;
    QTemporaryDir edsFolder;
    std::unique_ptr<EDSAndEEPSet> window;
};

ModbusCommand Command(uint8_t functionCode) { return {1, 1, functionCode, 0, 0, 2}; }

}  // namespace

class SaveWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opensWithTheReadPathsAndSetPathStoresTheChoice();
    void saveWritesTheGatewayAndCloses();
    void failuresLeaveTheWindowOpenWithItsButtons();
    void edsFileFailureKeepsTheWindowOpen();
    void windowStaysWhileTheGatewayIsWritten();
    void saveDuringAReadOutDoesNothing();
    void factoryResetAsksFirst();
    void backClosesWithoutSaving();
};

// The lists' contents are PollPathsTest's; here what the window shows and stores.
void SaveWindowTest::opensWithTheReadPathsAndSetPathStoresTheChoice() {
    Rig rig;
    rig.config.ConnectionPaths = {{0x65, 2, 0x0D}, {0x6A, 1, 0x0B}};
    auto& server = rig.config.EditTcpClasses[2];
    server.ConnValid = 1;
    server.CmdCount = 3;
    server.Commands[0] = Command(1);
    server.Commands[1] = Command(15);
    server.Commands[2] = Command(2);
    const ConnectionPaths read = rig.config.ConnectionPaths;
    EDSAndEEPSet& window = rig.Open();
    QCOMPARE(rig.Find<QLabel>("Lbl_EEPProdPath_2")->text(), QString("0x0D"));
    QCOMPARE(rig.Find<QLabel>("Lbl_EEPConsPath_0")->text(), QString("0x6A"));

    rig.Choose("Combo_PollProdClass", "ID: 0x69");
    QCOMPARE(Rig::Items(rig.Combo("Combo_PollProdInst")), (QStringList{"ID: 0x01", "ID: 0x03"}));
    rig.Choose("Combo_PollProdInst", "ID: 0x03");
    rig.Choose("Combo_PollConsClass", "ID: 0x69");
    rig.Press("Btn_SetPath");
    QVERIFY(window.WorkingPaths() == (ConnectionPaths{{0x69, 3, 0x0A}, {0x69, 2, 0x0B}}));
    QCOMPARE(rig.dialogs.MessageTexts(), QStringList{"Setting Path OK.!!!"});
    QVERIFY(rig.config.ConnectionPaths == read);
    QVERIFY(rig.LinesSent().isEmpty());
}

void SaveWindowTest::saveWritesTheGatewayAndCloses() {
    Rig rig;
    rig.config.DeviceNetParams.NodeId = 7;
    auto& com1 = rig.config.EditSerialClasses[0];
    com1.ConnMode = 1;
    com1.CmdCount = 1;
    com1.Commands[0] = Command(3);
    EDSAndEEPSet& window = rig.Open();
    rig.Choose("Combo_PollProdClass", "ID: 0x65");
    rig.Press("Btn_SetPath");
    rig.Find<QLineEdit>("EDSInfo_0")->setText("  Packing line  ");
    QSignalSpy completed(&window, &EDSAndEEPSet::saveCompleted);

    rig.Press("FinishDeviceSet");

    QCOMPARE(completed.count(), 1);
    QVERIFY(!window.isVisible());
    QCOMPARE(rig.gateway.Port.SelectedPort(), 3);
    QVERIFY(!rig.gateway.Port.IsOpen());
    // The chosen path and the editor's command reach the gateway (the layout: WriteBackTest).
    QCOMPARE(int(rig.gateway.Console.Eeprom.Blocks[1][16]), 0x65);
    QCOMPARE(int(rig.gateway.Console.Eeprom.Blocks[8][16 + 2]), 3);
    QVERIFY(rig.config.SerialClasses[0].Commands[0] == Command(3));
    const QString eds = QDir(rig.edsFolder.path()).filePath("KV-9052R_ 7.eds");
    QCOMPARE(rig.states.last(), "Produce EDS File OK: " + QDir::toNativeSeparators(eds));
    QVERIFY(test::ReadAll(eds).contains("$ File Description Section : Packing line\r\n"));
    QVERIFY2(rig.dialogs.Messages.size() == 1, "only the Set Path message");
}

// A save or factory reset that fails gives the buttons back and copies nothing.
void SaveWindowTest::failuresLeaveTheWindowOpenWithItsButtons() {
    const struct {
        std::function<void(Rig&)> arrange;
        const char* button;
        QStringList messages;
        QStringList states;
    } rows[] = {
        {[](Rig& rig) { rig.gateway.Console.Faults.StopAfterLines = rig.readLines + 12; },
         "FinishDeviceSet",
         {"Timeout"},
         {"Timeout"}},
        {[](Rig& rig) {
             rig.gateway.Port.NextOpenResult = {PortOpenError::NotOpened, {}};
         },
         "FinishDeviceSet",
         {"Can't open COM 3!"},
         {}},
        {[](Rig& rig) {
             rig.gateway.Port.NextOpenResult = {PortOpenError::InUse, {}};
         },
         "Btn_FactorySet",
         {"COM 3 has been occupied"},
         {"COM 3 has been occupied"}},
    };
    for (const auto& r : rows) {
        Rig rig;
        rig.config.EditSerialClasses[0].CmdTimeout = 4321;
        EDSAndEEPSet& window = rig.Open();
        rig.dialogs.YesNoAnswers = {true};
        r.arrange(rig);
        rig.Press(r.button);
        QCOMPARE(rig.dialogs.MessageTexts(), r.messages);
        QCOMPARE(rig.states, r.states);
        QVERIFY(window.isVisible());
        QVERIFY(rig.ButtonsEnabled());
        QVERIFY(!rig.gateway.Port.IsOpen());
        QVERIFY(rig.config.SerialClasses[0].CmdTimeout != 4321);
        QVERIFY(QDir(rig.edsFolder.path()).isEmpty());
    }
}

void SaveWindowTest::edsFileFailureKeepsTheWindowOpen() {
    Rig rig;
    rig.config.EditSerialClasses[1].CmdTimeout = 777;
    EDSAndEEPSet& window = rig.Open();
    window.SetEdsFolders({"/proc/no-such-folder"});
    rig.Press("FinishDeviceSet");

    QCOMPARE(rig.dialogs.Messages.size(), 1);
    QVERIFY(rig.dialogs.Messages[0].Text.contains("KV-9052R_"));
    QCOMPARE(rig.states, QStringList{QString()});
    QVERIFY(window.isVisible());
    QVERIFY(rig.ButtonsEnabled());
    QVERIFY2(rig.config.SerialClasses[1].CmdTimeout != 777, "records not copied");
    QCOMPARE(int(rig.gateway.Console.Eeprom.Blocks[9][4]), 777 % 256);
}

// Closing the window while the save runs would pull it from under the running sequence.
void SaveWindowTest::windowStaysWhileTheGatewayIsWritten() {
    Rig rig;
    EDSAndEEPSet& window = rig.Open();
    QSignalSpy completed(&window, &EDSAndEEPSet::saveCompleted);
    QSignalSpy abandoned(&window, &EDSAndEEPSet::closedWithoutSave);
    int closeAttempts = 0;
    QObject::connect(window.findChild<QProgressBar*>("ProgressBar1"), &QProgressBar::valueChanged,
                     [&](int value) {
                         if (value != 50) return;
                         ++closeAttempts;
                         QVERIFY(!window.close());
                     });
    rig.Press("FinishDeviceSet");
    QCOMPARE(closeAttempts, 1);
    QCOMPARE(abandoned.count(), 0);
    QCOMPARE(completed.count(), 1);
}

void SaveWindowTest::saveDuringAReadOutDoesNothing() {
    Rig rig;
    rig.session.ConnectBusy = true;
    rig.Open();
    rig.Press("FinishDeviceSet");
    QVERIFY(rig.LinesSent().isEmpty());
    QVERIFY(rig.dialogs.Messages.isEmpty());
    QVERIFY(rig.ButtonsEnabled());
}

// The bytes a factory reset writes are FactoryResetTest's; here the question and the window.
void SaveWindowTest::factoryResetAsksFirst() {
    Rig rig;
    EDSAndEEPSet& window = rig.Open();
    QSignalSpy completed(&window, &EDSAndEEPSet::saveCompleted);
    rig.dialogs.YesNoAnswers = {false, true};
    rig.Press("Btn_FactorySet");
    QVERIFY(rig.LinesSent().isEmpty());
    QVERIFY(rig.gateway.Console.Eeprom == rig.before);
    QVERIFY(window.isVisible());

    rig.Press("Btn_FactorySet");
    QCOMPARE(rig.dialogs.Questions.size(), 2);
    QCOMPARE(completed.count(), 1);
    QCOMPARE(rig.config.EthernetParams.Ip, QString("192.168.255.1"));
    QVERIFY(rig.dialogs.Messages.isEmpty());
    QVERIFY2(QDir(rig.edsFolder.path()).isEmpty(), "no EDS file");
}

void SaveWindowTest::backClosesWithoutSaving() {
    Rig rig;
    const auto classes = rig.config.EditSerialClasses;
    EDSAndEEPSet& window = rig.Open();
    QSignalSpy abandoned(&window, &EDSAndEEPSet::closedWithoutSave);
    QSignalSpy objectView(&window, &EDSAndEEPSet::objectViewRequested);
    rig.Press("AppObj");
    QCOMPARE(objectView.count(), 1);
    rig.Press("BackButton");
    QCOMPARE(abandoned.count(), 1);
    QVERIFY2(rig.config.EditSerialClasses == classes, "the working copy stays for the editor");
    QVERIFY(rig.LinesSent().isEmpty());
}

}  // namespace kv

QTEST_MAIN(kv::SaveWindowTest)
#include "SaveWindowTest.moc"
