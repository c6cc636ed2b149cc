// The application object editor driven as a user would: typing, choosing list entries and
// pressing buttons, with messages read through the recording dialogs.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include "MainWindowHarness.h"
#include "config/WorkingCopy.h"
#include "ui/appobj/IOAppObj.h"
#include "ui/common/ProbePanel.h"

namespace kv {
namespace {

constexpr int Com1 = 0, Com2 = 1, Server01 = 2, Server02 = 3;

ModbusCommand Command(uint8_t netId) { return {1, netId, 3, 10.0 * netId, 100.0 + netId, 2}; }

// COM1 RTU without commands, COM2 RTU with four, COM2's fifth slot holding a left-over;
// Server 01 in use and full; Server02 in use with one command; the others unused.
GatewayConfig ReadConfig() {
    GatewayConfig config;
    config.SerialClasses[0] = {1, 300};
    config.SerialClasses[1] = {2, 0, 4};
    for (int k = 0; k < 5; ++k) config.SerialClasses[1].Commands[k] = Command(uint8_t(k + 1));
    config.TcpClasses[0] = {1, {192, 168, 1, 10}, 1000, 0, 0, 5};
    for (int k = 0; k < 5; ++k) config.TcpClasses[0].Commands[k] = Command(uint8_t(50 + k));
    config.TcpClasses[1] = {1, {}, 0, 0, 0, 1, {ModbusCommand{1, 7, 5, 20, 33, 1}}};
    return config;
}

struct Editor : test::WindowRig<IOAppObj> {
    explicit Editor(const GatewayConfig& read = ReadConfig()) {
        Config = read;
        Open();
    }

    QLineEdit* Field(const char* name, int i) const { return Find<QLineEdit>(name, i); }
    QPushButton* Button(const char* name, int i) const { return Find<QPushButton>(name, i); }
    QComboBox* List(const char* name, int i) const { return Find<QComboBox>(name, i); }

    // Brings the tab holding a control to the front, as the user would.
    void ShowTabOf(QWidget* control) const {
        auto* tabs = Find<QTabWidget>("SSTab1");
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->widget(i)->isAncestorOf(control)) tabs->setCurrentIndex(i);
    }
    void Press(const char* name, int index = -1) {
        QPushButton* button = Find<QPushButton>(name, index);
        ShowTabOf(button);
        QVERIFY2(button->isEnabled() && button->isVisible(), qPrintable(button->objectName()));
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void Choose(const char* name, int index, int position) {
        ShowTabOf(List(name, index));
        WindowRig::Choose(List(name, index), position);
    }
    void Type(const char* name, int index, const QString& text) const {
        QLineEdit* field = Field(name, index);
        ShowTabOf(field);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    ClassCommands Commands(int classIndex) { return EditClassCommands(Config, classIndex); }
    bool Shows(const char* name, int i) const { return !Button(name, i)->isHidden(); }
};

// The messages shown so far, each as "title: text".
QStringList Seen(const test::RecordingDialogs& dialogs) {
    QStringList seen;
    for (const auto& shown : dialogs.Messages) seen << shown.Title + ": " + shown.Text;
    return seen;
}

}  // namespace

class AppObjEditorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opensWithTheClassesAsReadAndTheCodeSetsTheFields() {
        Editor editor;
        // A class with commands opens showing the first one; a stored FC05 its fixed length
        // (the layout of each code: SettingLimitsTest).
        QCOMPARE(editor.List("MB_IO_type", Server02)->currentIndex(), 4);
        QVERIFY(!editor.Field("MB_Comm_len", Server02)->isEnabled());
        QVERIFY(editor.Shows("EraseMB", Server02) && !editor.Shows("AddApp", Server02));
        // An empty class opens for entry, with nothing to update.
        QVERIFY(editor.Shows("AddApp", Com1) && !editor.Button("UpdateApp", Com1)->isEnabled());
        QCOMPARE(editor.Field("Text_COM_CmdTimeout", Com1)->text(), QString("300"));

        auto* length = editor.Field("MB_Comm_len", Com1);
        editor.Type("MB_Start_addr", Com1, "12");
        editor.List("MB_IO_type", Com1)->setCurrentIndex(5);  // FC06
        QCOMPARE(length->text(), QString("1"));
        QVERIFY(!length->isEnabled());
        QCOMPARE(editor.Field("MB_Start_addr", Com1)->text(), QString());
        QCOMPARE(editor.Find<QLabel>("Lbl_InternalMemAddr", Com1)->text(), QString("(0-1023)"));
        // Switching a tab off and on again keeps FC06's length fixed.
        editor.List("Combo_COM_ConnMode", Com1)->setCurrentIndex(0);
        editor.List("Combo_COM_ConnMode", Com1)->setCurrentIndex(1);
        QVERIFY(editor.Field("MB_ID", Com1)->isEnabled() && !length->isEnabled());
        editor.List("MB_IO_type", Com1)->setCurrentIndex(2);  // FC03
        QVERIFY(length->isEnabled());
        QCOMPARE(length->maxLength(), 3);
        // A tab switched off keeps its length field off.
        editor.List("MB_IO_type", 4)->setCurrentIndex(3);
        QVERIFY(!editor.Field("MB_Comm_len", 4)->isEnabled());

        // Numeric fields take digits only; an attribute field left empty
        // shows 0, and entering one selects its text.
        auto* netId = editor.Field("MB_ID", Com1);
        QTest::keyClicks(netId, "1-a2");
        QCOMPARE(netId->text(), QString("12"));

        auto* octet = editor.Field("Text_ServerIP2", 3);
        octet->clear();
        netId->clear();
        for (auto* field : {octet, netId}) {
            QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(field, &leave);
        }
        QCOMPARE(octet->text(), QString("0"));
        QCOMPARE(netId->text(), QString());  // command fields may stay empty
        auto* timeout = editor.Field("Text_TCP_ConnTimeout", 0);
        QFocusEvent enter(QEvent::FocusIn, Qt::MouseFocusReason);
        QApplication::sendEvent(timeout, &enter);
        QTRY_COMPARE(timeout->selectedText(), QString("1000"));

        // Add stores what the fields hold (a refusal: the next test), with the overlap note
        // (MemoryOverlaps) and the Modbus reference (ModbusReference).
        // COM2 instance 2 holds registers 20..21; this command takes 20..23.
        editor.List("MB_IO_type", Com1)->setCurrentIndex(7);  // FC16, first: it empties the numbers
        editor.Type("MB_ID", Com1, "5");
        editor.Type("MB_Start_addr", Com1, "65535");
        editor.Type("MB_Comm_len", Com1, "4");
        editor.Type("MB_InternalMem", Com1, "20");
        QCOMPARE(editor.Find<QLabel>("Lbl_ModbusReference", Com1)->text(),
                 QString("Modbus reference 465536"));
        editor.Press("AddApp", Com1);
        QVERIFY(editor.Dialogs.Messages.isEmpty());  // the overlap is a note, never a refusal
        QCOMPARE(editor.Commands(Com1).Slots[0], (ModbusCommand{1, 5, 16, 20, 65535, 4}));
        QCOMPARE(editor.List("Instance", Com1)->currentText(), QString("         Instance  1"));
        QVERIFY(editor.Shows("EraseMB", Com1) && editor.Button("DeleteApp", Com1)->isEnabled());
        auto* note = editor.Find<QLabel>("OverlapNote", Com1);
        QVERIFY2(note->text().contains("COM2 instance 2"), qPrintable(note->text()));
        editor.Type("MB_InternalMem", Com1, "30");
        editor.Press("UpdateApp", Com1);
        QVERIFY2(note->text().contains("COM2 instance 3"), qPrintable(note->text()));
        editor.Press("EraseMB", Com1);
        QCOMPARE(note->text(), QString());
    }

    // The buttons reach the working copy's rules (WorkingCopyTest) and show the outcome: a
    // full class refused, Update reporting either way.
    void buttonsReachTheWorkingCopyAndShowTheOutcome() {
        Editor editor;
        editor.Press("EraseMB", Server01);
        editor.Press("AddApp", Server01);
        editor.Choose("Instance", Com2, 2);
        editor.Type("MB_ID", Com2, "99");
        editor.Press("UpdateApp", Com2);
        editor.Type("MB_ID", Com2, "0");
        editor.Press("UpdateApp", Com2);
        QCOMPARE(Seen(editor.Dialogs),
                 QStringList({"Error: Support Maximun 5 Instances.", "Update: Update Success!!!",
                              "Error: ModBus Device Address Error. (1-247)",
                              "Update: Update Failure!!!"}));
        // The error looks like one; the report after it informs.
        QVERIFY(editor.Dialogs.Messages[2].Icon == MessageKind::Error);
        QVERIFY(editor.Dialogs.Messages[3].Icon == MessageKind::Information);
        QCOMPARE(editor.Commands(Com2).Slots[2].NetId, 99);

        // Delete: the instance deleted and the one shown after.
        editor.Dialogs.Messages.clear();
        editor.Choose("Instance", Com2, 2);
        editor.Press("DeleteApp", Com2);
        QCOMPARE(editor.Commands(Com2).Slots[1].NetId, 2);
        QCOMPARE(editor.List("Instance", Com2)->currentIndex(), 2);
        QCOMPARE(editor.Field("MB_ID", Com2)->text(), QString("4"));
        // Deleting the only instance leaves an empty class.
        editor.Press("DeleteApp", Server02);
        QCOMPARE(editor.List("Instance", Server02)->count(), 0);
        QVERIFY(!editor.Button("DeleteApp", Server02)->isEnabled());

        // Erase empties the fields and keeps the commands; choosing the instance the list
        // still shows brings it back.
        const auto before = editor.Config.EditTcpClasses[0];
        editor.Choose("Instance", Server01, 3);
        editor.Press("EraseMB", Server01);
        for (const char* field : {"MB_ID", "MB_Start_addr", "MB_Comm_len", "MB_InternalMem"})
            QCOMPARE(editor.Field(field, Server01)->text(), QString());
        QCOMPARE(editor.List("MB_IO_type", Server01)->currentIndex(), 0);
        QVERIFY(editor.Shows("AddApp", Server01) && !editor.Shows("EraseMB", Server01));
        editor.Choose("Instance", Server01, 3);
        QCOMPARE(editor.Field("MB_ID", Server01)->text(), QString("53"));

        // The limits are CommandChecks'; here the refusal shown and nothing stored. "NO"
        // switches a server tab off at once; only Set stores it, keeping the commands.
        editor.Type("Text_ServerIP1", 1, "256");
        editor.List("Combo_ConnValid", 0)->setCurrentIndex(0);
        QVERIFY(!editor.Button("EraseMB", Server01)->isEnabled());
        editor.Press("Btn_SetTCPClassAttr", 0);
        QCOMPARE(Seen(editor.Dialogs), QStringList({"Error: Server IP Octet 2 Error. (0-255)"}));
        QCOMPARE(editor.Config.EditTcpClasses[0], before);

        editor.List("Combo_ConnValid", 0)->setCurrentIndex(1);
        editor.Type("Text_ServerIP1", 1, "255");
        editor.Type("Text_TCP_RetryConnTimeout", 0, "99999");
        editor.List("Combo_ConnValid", 0)->setCurrentIndex(0);
        editor.Press("Btn_SetTCPClassAttr", 0);
        QCOMPARE(editor.Config.EditTcpClasses[0].ConnValid, 0);
        QCOMPARE(editor.Config.EditTcpClasses[0].CmdCount, 5);
        QCOMPARE(editor.Config.EditTcpClasses[0].RetryConnTimeout, 99999.0);
        QCOMPARE(editor.Config.EditTcpClasses[0].ServerIp,
                 (std::array<uint8_t, 4>{192, 255, 1, 10}));

        // The buttons signal; leaving a changed copy asks first: No stays with the edits,
        // Yes discards them.
        QSignalSpy back(editor.Window.get(), &IOAppObj::backPressed);
        QSignalSpy next(editor.Window.get(), &IOAppObj::nextPressed);
        QSignalSpy objects(editor.Window.get(), &IOAppObj::objectViewRequested);
        QSignalSpy devices(editor.Window.get(), &IOAppObj::deviceViewRequested);
        editor.Dialogs.YesNoAnswers = {false, true};
        for (const char* button : {"NextButton", "ShowAppInf", "ShowMBInf", "BackButton"})
            editor.Press(button);
        QCOMPARE((QList<qsizetype>{next.count(), objects.count(), devices.count(), back.count()}),
                 (QList<qsizetype>{1, 1, 1, 0}));
        QCOMPARE(editor.Config.EditTcpClasses[0].RetryConnTimeout, 99999.0);
        editor.Press("BackButton");
        QCOMPARE(back.count(), 1);
        QCOMPARE(editor.Config.EditSerialClasses[1], SerialClassRecord{});
        QCOMPARE(editor.Dialogs.Questions.size(), 2);
        QCOMPARE(editor.Dialogs.Questions[1].Title + ": " + editor.Dialogs.Questions[1].Text,
                 "Application Object Setting: Discard the changes to the Modbus commands?");
        // Closing the window is leaving it too; a copy as it was made leaves unasked.
        editor.Open();
        QVERIFY(editor.Window->close());
        QCOMPARE(editor.Dialogs.Questions.size(), 2);
        QCOMPARE(editor.Config.EditTcpClasses[1], TcpClassRecord{});
        editor.Open();
        editor.Press("DeleteApp", Server02);
        QVERIFY(!editor.Window->close());
        QCOMPARE(editor.Config.EditTcpClasses[1].CmdCount, 0);
    }

    // The time-out's range is SettingLimitsTest's; here Set stores it and shows what was
    // stored. The connection list switches the tab at once; only Set stores it.
    // Every tab has its Test: a probe of the working copy on its own thread while the window
    // goes on, each instance's outcome shown and kept for the report; Cancel ends it (the
    // outcomes: ProbeRepliesTest, and tests/modbus against real servers).
    void testProbesTheWorkingCopyAndCancelEndsIt() {
        Editor editor;  // Server02 at 0.0.0.0, where nothing listens on port 502
        editor.Press("TestClass", Server02);
        QTRY_COMPARE(editor.Session.Probes.size(), 1);
        QCOMPARE(editor.Find<QListWidget>("TestResults", Server02)->item(0)->text(),
                 "Server2 instance 1, FC05 probed by reading with FC01, 00034: unreachable: "
                 "Connection refused");
        QCOMPARE(editor.Find<QLabel>("ProbeNote", Server02)->text(),
                 "Test: FC05 probed by reading with FC01, 00034: unreachable: Connection refused");

        // A serial class's bus is probed through the PC's port named on its tab, once the
        // user says the gateway is off it.
        editor.Type("TestDevice", Com2, "/nowhere/tty");
        editor.Dialogs.YesNoAnswers = {false, true};
        editor.Press("TestClass", Com2);
        QVERIFY(editor.Find<QListWidget>("TestResults", Com2)->isHidden());
        editor.Press("TestClass", Com2);
        QTRY_COMPARE(editor.Session.Probes.size(), 2);
        QCOMPARE(editor.Dialogs.Questions.size(), 2);
        QCOMPARE(editor.Find<QListWidget>("TestResults", Com2)->item(0)->text(),
                 "COM2 instance 1, FC03, 40102-40103: unreachable: /nowhere/tty: No such file "
                 "or directory");

        QTcpServer silent;  // takes the connection, never answers
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        GatewayConfig config;
        config.EditTcpClasses[1] = {1, {127, 0, 0, 1}, 1000, 0, 60000, 1, {Command(1)}};
        ProbeSelection elsewhere;
        elsewhere.Servers.insert(Server02, {"127.0.0.1", silent.serverPort()});
        ProbePanel probe(config, Server02, nullptr, elsewhere);
        QTest::mouseClick(probe.findChild<QPushButton*>("TestClass_3"), Qt::LeftButton);
        auto* cancel = probe.findChild<QPushButton*>("CancelTest_3");
        QVERIFY(cancel->isEnabled() &&
                !probe.findChild<QProgressBar*>("TestProgress_3")->isHidden());
        QTRY_VERIFY(silent.hasPendingConnections());  // the window's events go on meanwhile
        QTest::mouseClick(cancel, Qt::LeftButton);
        QTRY_COMPARE(probe.findChild<QListWidget*>("TestResults_3")->count(), 2);
        QCOMPARE(probe.findChild<QListWidget*>("TestResults_3")->item(0)->text(),
                 "Server2 instance 1, FC03, 40102-40103: stopped");
    }

    void serialSetStoresTheModeAndOnlyTimeoutsInRange() {
        auto read = ReadConfig();
        read.SerialClasses[0].ConnMode = 0;
        Editor editor(read);
        QVERIFY(!editor.Field("Text_COM_CmdTimeout", Com1)->isEnabled());
        editor.List("Combo_COM_ConnMode", Com1)->setCurrentIndex(1);
        QVERIFY(!editor.Field("MB_ID", Com1)->isEnabled());  // not stored yet
        const struct {
            QString typed;
            double stored;
            QString shown;
        } rows[] = {{"65535", 65535, "65535"}, {"65536", 0, "0"}};
        for (const auto& r : rows) {
            editor.Type("Text_COM_CmdTimeout", Com1, r.typed);
            editor.Press("Btn_SetCOMClassAttr", Com1);
            QCOMPARE(editor.Config.EditSerialClasses[0].CmdTimeout, r.stored);
            QCOMPARE(editor.Field("Text_COM_CmdTimeout", Com1)->text(), r.shown);
        }
        QCOMPARE(editor.Config.EditSerialClasses[0].ConnMode, 1);
        QVERIFY(editor.Button("AddApp", Com1)->isEnabled());
        QVERIFY(!editor.Button("UpdateApp", Com1)->isEnabled());

        // The CSV layout is CommandTableCsv's; here that the buttons reach it and show a refusal.
        QTemporaryDir folder;
        const QByteArray heading = "Instance,NetId,FunctionCode,MemAddress,StartAddress,Length\n";
        QVERIFY(test::WriteAll(folder.filePath("good.csv"), heading + "1,9,16,600,0,8\n"));
        QVERIFY(
            test::WriteAll(folder.filePath("bad.csv"), heading + "1,9,3,0,0,1\n2,0,3,700,0,8\n"));
        editor.Dialogs.FileAnswers = {folder.filePath("com2.csv"), folder.filePath("good.csv"),
                                      folder.filePath("bad.csv")};
        editor.Press("ExportCsv", Com2);
        QVERIFY(test::ReadAll(folder.filePath("com2.csv")).endsWith("\n4,4,3,40,104,2,40105\n"));
        editor.Press("ImportCsv", Com1);
        editor.Press("ImportCsv", Com1);
        QCOMPARE(editor.Dialogs.MessageTexts(),
                 QStringList{"row 3, column 2 (NetId): ModBus Device Address Error. (1-247)"});
        QCOMPARE(editor.List("Instance", Com1)->count(), 1);
        QCOMPARE(editor.Commands(Com1).Slots[0], (ModbusCommand{1, 9, 16, 600, 0, 8}));
    }
};

}  // namespace kv

QTEST_MAIN(kv::AppObjEditorTest)
#include "AppObjEditorTest.moc"
