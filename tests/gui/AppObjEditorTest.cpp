// The application object editor driven as a user would: typing, choosing list entries and
// pressing buttons, with messages read through the recording dialogs.

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "config/WorkingCopy.h"
#include "support/RecordingDialogs.h"
#include "support/SessionOnGateway.h"
#include "support/SimulatedGateway.h"
#include "support/TestFiles.h"
#include "ui/appobj/IOAppObj.h"
#include "ui/common/Session.h"

namespace kv {
namespace {

using test::RecordingDialogs;

constexpr int Com1 = 0, Com2 = 1, Server01 = 2, Server02 = 3;

ModbusCommand Command(uint8_t netId) { return {1, netId, 3, 10.0 * netId, 100.0 + netId, 2}; }

// COM1 RTU without commands, COM2 RTU with four, COM2's fifth slot holding a left-over;
// Server 01 in use and full; Server02 in use with one command; the others unused.
GatewayConfig ReadConfig() {
    GatewayConfig config;
    config.SerialClasses[0].ConnMode = 1;
    config.SerialClasses[0].CmdTimeout = 300;
    auto& com2 = config.SerialClasses[1];
    com2.ConnMode = 2;
    com2.CmdCount = 4;
    for (int k = 0; k < 5; ++k) com2.Commands[k] = Command(uint8_t(k + 1));
    auto& server1 = config.TcpClasses[0];
    server1.ConnValid = 1;
    server1.ServerIp = {192, 168, 1, 10};
    server1.ConnTimeout = 1000;
    server1.CmdCount = 5;
    for (int k = 0; k < 5; ++k) server1.Commands[k] = Command(uint8_t(50 + k));
    auto& server2 = config.TcpClasses[1];
    server2.ConnValid = 1;
    server2.CmdCount = 1;
    server2.Commands[0] = {1, 7, 5, 20, 33, 1};
    return config;
}

struct Editor {
    explicit Editor(GatewayConfig read = ReadConfig()) : config(std::move(read)) { Open(); }

    void Open() {
        window = std::make_unique<IOAppObj>(session);
        window->show();
    }

    template <typename T>
    T* Find(const QString& name) const {
        auto* control = window->findChild<T*>(name);
        if (!control) qFatal("no control %s", qPrintable(name));
        return control;
    }
    template <typename T>
    T* Find(const char* name, int index) const {
        return Find<T>(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index));
    }
    QLineEdit* Field(const char* name, int classIndex) const {
        return Find<QLineEdit>(name, classIndex);
    }
    QPushButton* Button(const char* name, int classIndex) const {
        return Find<QPushButton>(name, classIndex);
    }
    QComboBox* List(const char* name, int index) const { return Find<QComboBox>(name, index); }

    // Brings the tab holding a control to the front, as the user would.
    void ShowTabOf(QWidget* control) const {
        auto* tabs = Find<QTabWidget>("SSTab1");
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->widget(i)->isAncestorOf(control)) tabs->setCurrentIndex(i);
    }
    void Press(QPushButton* button) const {
        ShowTabOf(button);
        QVERIFY2(button->isEnabled() && button->isVisible(), qPrintable(button->objectName()));
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // Chooses a list entry as the user does, the one already shown included.
    void Choose(QComboBox* list, int position) const {
        ShowTabOf(list);
        list->setCurrentIndex(position);
        Q_EMIT list->activated(position);
    }
    void Type(QLineEdit* field, const QString& text) const {
        ShowTabOf(field);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    // Fills the command fields of a tab as a user would: function code first, since
    // choosing it empties the numbers.
    void EnterCommand(int classIndex, const QString& netId, int codePosition, const QString& start,
                      const QString& length, const QString& memory) const {
        List("MB_IO_type", classIndex)->setCurrentIndex(codePosition);
        Type(Field("MB_ID", classIndex), netId);
        Type(Field("MB_Start_addr", classIndex), start);
        if (Field("MB_Comm_len", classIndex)->isEnabled())
            Type(Field("MB_Comm_len", classIndex), length);
        Type(Field("MB_InternalMem", classIndex), memory);
    }
    ClassCommands Commands(int classIndex) { return EditClassCommands(config, classIndex); }
    QStringList Entries(int classIndex) const {
        QStringList entries;
        auto* list = List("Instance", classIndex);
        for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
        return entries;
    }
    bool Shows(const char* name, int classIndex) const {
        return !Button(name, classIndex)->isHidden();
    }

    GatewayConfig config;
    test::SimulatedGateway gateway;
    GatewaySession link{test::DevicesOf(gateway)};
    RecordingDialogs dialogs;
    Session session{config, link, dialogs};
    std::unique_ptr<IOAppObj> window;
};

// The messages shown so far, each as "title: text".
QStringList Seen(const RecordingDialogs& dialogs) {
    QStringList seen;
    for (const auto& shown : dialogs.Messages) seen << shown.Title + ": " + shown.Text;
    return seen;
}

}  // namespace

class AppObjEditorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opensWithTheClassesAsRead();
    void addShowsACheckOutcomeOrStores();
    void functionCodeSetsLabelsAndLength();
    void startAddressShowsItsModbusReference();
    void addOnAFullClassNamesTheMaximumBeforeAnyFieldCheck();
    void deleteClosesTheGapOrEmptiesTheClass();
    void eraseReturnsToEntryWithoutTouchingTheCommands();
    void updateReportsSuccessAndFailure();
    void addAndUpdateSayWhichCommandsShareMemory();
    void connectionListSwitchesTheTabAndSetStoresIt();
    void serialSetKeepsOnlyTimeoutsInRange();
    void tcpSetRefusesEntriesThatDoNotFitAndStoresNothing();
    void attributeFieldsNeverStayEmpty();
    void buttonsSignalAndBackDiscardsTheEdits();
    void numericFieldsTakeDigitsOnlyTypedOrPasted();
    void commandTableGoesOutAndComesInAsCsv();
};

void AppObjEditorTest::opensWithTheClassesAsRead() {
    Editor editor;
    QCOMPARE(editor.Entries(Com2), QStringList({"         Instance  1", "         Instance  2",
                                                "         Instance  3", "         Instance  4"}));
    // A class with commands opens showing the first one.
    QCOMPARE(editor.Field("MB_InternalMem", Com2)->text(), QString("10"));
    QVERIFY(editor.Shows("EraseMB", Com2) && !editor.Shows("AddApp", Com2));
    // A stored FC05 shows its fixed length.
    QCOMPARE(editor.List("MB_IO_type", Server02)->currentIndex(), 4);
    QVERIFY(!editor.Field("MB_Comm_len", Server02)->isEnabled());
    // An empty class opens for entry, with nothing to update or delete.
    QVERIFY(editor.Shows("AddApp", Com1) && !editor.Shows("EraseMB", Com1));
    QVERIFY(!editor.Button("UpdateApp", Com1)->isEnabled());
    QCOMPARE(editor.Field("Text_COM_CmdTimeout", Com1)->text(), QString("300"));
    QCOMPARE(editor.Field("Text_ServerIP1", 3)->text(), QString("10"));
}

// The rules are CommandChecksTest's; here that Add reaches them and shows the outcome.
void AppObjEditorTest::addShowsACheckOutcomeOrStores() {
    Editor editor;
    editor.EnterCommand(Com1, "248", 0, "0", "1", "0");
    editor.Press(editor.Button("AddApp", Com1));
    QCOMPARE(Seen(editor.dialogs), QStringList({"Error: ModBus Device Address Error. (1-247)"}));
    QCOMPARE(editor.Commands(Com1).CmdCount, 0);
    QCOMPARE(editor.Field("MB_ID", Com1)->text(), QString("248"));  // kept for correcting

    editor.dialogs.Messages.clear();
    editor.EnterCommand(Com1, "5", 7, "9", "100", "1500");
    editor.Press(editor.Button("AddApp", Com1));
    QVERIFY(editor.dialogs.Messages.isEmpty());
    QCOMPARE(editor.Commands(Com1).Slots[0], (ModbusCommand{1, 5, 16, 1500, 9, 100}));
    QCOMPARE(editor.Entries(Com1), QStringList({"         Instance  1"}));
    QVERIFY(editor.Button("UpdateApp", Com1)->isEnabled() &&
            editor.Button("DeleteApp", Com1)->isEnabled());
    QVERIFY(editor.Shows("EraseMB", Com1) && !editor.Shows("AddApp", Com1));
}

// Each limit of the command checks at its edge, through Add: the message shown, or none.
void AppObjEditorTest::functionCodeSetsLabelsAndLength() {
    Editor editor;
    auto* code = editor.List("MB_IO_type", Com1);
    auto* length = editor.Field("MB_Comm_len", Com1);
    editor.Type(editor.Field("MB_Start_addr", Com1), "12");
    code->setCurrentIndex(5);  // FC06
    QCOMPARE(length->text(), QString("1"));
    QVERIFY(!length->isEnabled());
    QCOMPARE(editor.Field("MB_Start_addr", Com1)->text(), QString());
    QCOMPARE(editor.Find<QLabel>("Lbl_InternalMemAddr", Com1)->text(), QString("(0-1023)"));
    code->setCurrentIndex(2);  // FC03
    QVERIFY(length->isEnabled());
    QCOMPARE(length->maxLength(), 3);
    // A tab switched off keeps its length field off.
    editor.List("MB_IO_type", 4)->setCurrentIndex(3);
    QVERIFY(!editor.Field("MB_Comm_len", 4)->isEnabled());
    // Switching a tab on again keeps FC05's length fixed.
    code->setCurrentIndex(4);
    editor.List("Combo_COM_ConnMode", Com1)->setCurrentIndex(0);
    editor.List("Combo_COM_ConnMode", Com1)->setCurrentIndex(1);
    QVERIFY(editor.Field("MB_ID", Com1)->isEnabled());
    QVERIFY(!length->isEnabled());
}

void AppObjEditorTest::startAddressShowsItsModbusReference() {
    Editor editor;
    auto* reference = editor.Find<QLabel>("Lbl_ModbusReference", Com1);
    editor.EnterCommand(Com1, "1", 2, "65535", "1", "0");  // FC03
    QCOMPARE(reference->text(), QString("Modbus reference 465536"));
    editor.Press(editor.Button("AddApp", Com1));
    QCOMPARE(editor.Commands(Com1).Slots[0].StartAddress, 65535.0);  // stored as typed
    editor.Press(editor.Button("EraseMB", Com1));
    QCOMPARE(reference->text(), QString());
    editor.Choose(editor.List("MB_IO_type", Com1), 1);  // FC02
    editor.Type(editor.Field("MB_Start_addr", Com1), "99");
    QCOMPARE(reference->text(), QString("Modbus reference 10100"));
}

void AppObjEditorTest::addOnAFullClassNamesTheMaximumBeforeAnyFieldCheck() {
    auto read = ReadConfig();
    read.SerialClasses[1].CmdCount = 10;
    Editor editor(read);
    const auto before = editor.config.EditSerialClasses[1];
    editor.Press(editor.Button("EraseMB", Com2));
    editor.Type(editor.Field("MB_ID", Com2), "0");
    editor.Press(editor.Button("AddApp", Com2));
    editor.Press(editor.Button("EraseMB", Server01));
    editor.Press(editor.Button("AddApp", Server01));
    QCOMPARE(Seen(editor.dialogs), QStringList({"Error: Support Maximun 10 Instances.",
                                                "Error: Support Maximun 5 Instances."}));
    // A failed Add changes nothing (the refused fields: checksOfApplicationObj).
    QCOMPARE(editor.config.EditSerialClasses[1], before);
    QCOMPARE(editor.List("Instance", Server01)->count(), 5);
    QVERIFY(editor.Shows("AddApp", Com2));
}

void AppObjEditorTest::deleteClosesTheGapOrEmptiesTheClass() {
    Editor editor;
    editor.Choose(editor.List("Instance", Com2), 1);
    QCOMPARE(editor.Field("MB_ID", Com2)->text(), QString("2"));
    editor.Press(editor.Button("DeleteApp", Com2));

    QCOMPARE(editor.Commands(Com2).CmdCount, 3);
    QCOMPARE(editor.Commands(Com2).Slots[1], Command(3));
    QCOMPARE(editor.Commands(Com2).Slots[3], ModbusCommand{});
    QCOMPARE(editor.List("Instance", Com2)->count(), 3);
    QCOMPARE(editor.List("Instance", Com2)->currentIndex(), 2);
    QCOMPARE(editor.Field("MB_ID", Com2)->text(), QString("4"));

    // Deleting the only instance leaves an empty class.
    editor.Press(editor.Button("DeleteApp", Server02));
    QCOMPARE(editor.Commands(Server02).CmdCount, 0);
    QCOMPARE(editor.Commands(Server02).Slots[0], ModbusCommand{});
    QCOMPARE(editor.List("Instance", Server02)->count(), 0);
    QVERIFY(!editor.Button("UpdateApp", Server02)->isEnabled());
    QVERIFY(!editor.Button("DeleteApp", Server02)->isEnabled());
    // Erase leads back to entering a command, which can be added again.
    editor.Press(editor.Button("EraseMB", Server02));
    editor.EnterCommand(Server02, "3", 0, "0", "8", "0");
    editor.Press(editor.Button("AddApp", Server02));
    QCOMPARE(editor.Commands(Server02).CmdCount, 1);
}

void AppObjEditorTest::eraseReturnsToEntryWithoutTouchingTheCommands() {
    Editor editor;
    const auto before = editor.config.EditTcpClasses[0];
    editor.Choose(editor.List("Instance", Server01), 3);
    editor.Press(editor.Button("EraseMB", Server01));
    for (const char* field : {"MB_ID", "MB_Start_addr", "MB_Comm_len", "MB_InternalMem"})
        QCOMPARE(editor.Field(field, Server01)->text(), QString());
    QCOMPARE(editor.List("MB_IO_type", Server01)->currentIndex(), 0);
    QVERIFY(editor.Shows("AddApp", Server01) && !editor.Shows("EraseMB", Server01));
    QCOMPARE(editor.config.EditTcpClasses[0], before);
    // Choosing the instance the list still shows brings it back, as does any other.
    editor.Choose(editor.List("Instance", Server01), 3);
    QCOMPARE(editor.Field("MB_ID", Server01)->text(), QString("53"));
    QVERIFY(editor.Shows("EraseMB", Server01) && !editor.Shows("AddApp", Server01));
    editor.Choose(editor.List("Instance", Server01), 2);
    QCOMPARE(editor.Field("MB_ID", Server01)->text(), QString("52"));
}

void AppObjEditorTest::addAndUpdateSayWhichCommandsShareMemory() {
    Editor editor;
    auto* note = editor.Find<QLabel>("OverlapNote", Com1);
    // COM2 instance 2 holds registers 20..21; this command takes 20..23.
    editor.EnterCommand(Com1, "1", 2, "0", "4", "20");
    editor.Press(editor.Button("AddApp", Com1));
    QCOMPARE(editor.Commands(Com1).CmdCount, 1);
    QVERIFY2(note->text().contains("COM2 instance 2"), qPrintable(note->text()));
    QVERIFY(editor.dialogs.Messages.isEmpty());  // a note, never a refusal
    editor.Type(editor.Field("MB_InternalMem", Com1), "1000");
    editor.Press(editor.Button("UpdateApp", Com1));
    QCOMPARE(note->text(), QString());
    editor.Type(editor.Field("MB_InternalMem", Com1), "30");
    editor.Press(editor.Button("UpdateApp", Com1));
    QVERIFY2(note->text().contains("COM2 instance 3"), qPrintable(note->text()));
    editor.Press(editor.Button("EraseMB", Com1));
    QCOMPARE(note->text(), QString());
}

void AppObjEditorTest::updateReportsSuccessAndFailure() {
    Editor editor;
    editor.Choose(editor.List("Instance", Com2), 2);
    editor.Type(editor.Field("MB_ID", Com2), "99");
    editor.Press(editor.Button("UpdateApp", Com2));
    QCOMPARE(Seen(editor.dialogs), QStringList({"Update: Update Success!!!"}));
    QCOMPARE(editor.Commands(Com2).Slots[2].NetId, 99);
    QCOMPARE(editor.Commands(Com2).CmdCount, 4);

    editor.dialogs.Messages.clear();
    editor.Type(editor.Field("MB_ID", Com2), "0");
    editor.Press(editor.Button("UpdateApp", Com2));
    QCOMPARE(Seen(editor.dialogs), QStringList({"Error: ModBus Device Address Error. (1-247)",
                                                "Update: Update Failure!!!"}));
    // The error looks like one; the report after it informs.
    QVERIFY(editor.dialogs.Messages[0].Icon == MessageIcon::Error);
    QVERIFY(editor.dialogs.Messages[1].Icon == MessageIcon::Information);
    QCOMPARE(editor.Commands(Com2).Slots[2].NetId, 99);
}

void AppObjEditorTest::connectionListSwitchesTheTabAndSetStoresIt() {
    auto read = ReadConfig();
    read.SerialClasses[0].ConnMode = 0;
    Editor editor(read);
    auto* timeout = editor.Field("Text_COM_CmdTimeout", Com1);
    QVERIFY(!timeout->isEnabled());
    QVERIFY(!editor.Button("AddApp", Com1)->isEnabled());

    editor.List("Combo_COM_ConnMode", Com1)->setCurrentIndex(1);
    QVERIFY(timeout->isEnabled());
    QVERIFY(!editor.Field("MB_ID", Com1)->isEnabled());  // not stored yet
    QCOMPARE(editor.config.EditSerialClasses[0].ConnMode, 0);

    editor.Press(editor.Find<QPushButton>("Btn_SetCOMClassAttr", Com1));
    QCOMPARE(editor.config.EditSerialClasses[0].ConnMode, 1);
    QVERIFY(editor.Field("MB_ID", Com1)->isEnabled());
    QVERIFY(editor.Button("AddApp", Com1)->isEnabled());
    QVERIFY(!editor.Button("UpdateApp", Com1)->isEnabled());

    // "NO" switches a server tab off at once; only "Set" stores it.
    editor.List("Combo_ConnValid", 0)->setCurrentIndex(0);
    QVERIFY(!editor.Field("Text_ServerIP1", 2)->isEnabled());
    QVERIFY(!editor.Button("EraseMB", Server01)->isEnabled());
    QVERIFY(editor.Find<QPushButton>("Btn_SetTCPClassAttr", 0)->isEnabled());
    QCOMPARE(editor.config.EditTcpClasses[0].ConnValid, 1);
    editor.Press(editor.Find<QPushButton>("Btn_SetTCPClassAttr", 0));
    QCOMPARE(editor.config.EditTcpClasses[0].ConnValid, 0);
    QCOMPARE(editor.config.EditTcpClasses[0].CmdCount, 5);  // commands are kept
    editor.List("Combo_ConnValid", 0)->setCurrentIndex(1);
    editor.Press(editor.Find<QPushButton>("Btn_SetTCPClassAttr", 0));
    QVERIFY(editor.Button("DeleteApp", Server01)->isEnabled());
}

void AppObjEditorTest::serialSetKeepsOnlyTimeoutsInRange() {
    Editor editor;
    auto* timeout = editor.Field("Text_COM_CmdTimeout", Com1);
    auto* set = editor.Find<QPushButton>("Btn_SetCOMClassAttr", Com1);
    editor.Type(timeout, "65535");
    editor.Press(set);
    QCOMPARE(editor.config.EditSerialClasses[0].CmdTimeout, 65535.0);
    QCOMPARE(timeout->text(), QString("65535"));
    for (const char* refused : {"65536", "0", "-12", "x"}) {
        editor.Type(timeout, refused);
        editor.Press(set);
        QCOMPARE(editor.config.EditSerialClasses[0].CmdTimeout, 0.0);
        QCOMPARE(timeout->text(), QString("0"));
    }
    QVERIFY(editor.dialogs.Messages.isEmpty());
}

void AppObjEditorTest::tcpSetRefusesEntriesThatDoNotFitAndStoresNothing() {
    Editor editor;
    const auto before = editor.config.EditTcpClasses[0];
    auto* set = editor.Find<QPushButton>("Btn_SetTCPClassAttr", 0);
    editor.Type(editor.Field("Text_ServerIP1", 1), "256");
    editor.List("Combo_ConnValid", 0)->setCurrentIndex(0);
    editor.Press(set);
    editor.List("Combo_ConnValid", 0)->setCurrentIndex(1);
    editor.Type(editor.Field("Text_ServerIP1", 1), "255");
    editor.Type(editor.Field("Text_TCP_RetryConnTimeout", 0), "-5");
    editor.Press(set);
    QCOMPARE(Seen(editor.dialogs),
             QStringList({"Error: Server IP Octet 2 Error. (0-255)",
                          "Error: Retry Connection Timeout Error. (0-4294967295)"}));
    QCOMPARE(editor.config.EditTcpClasses[0], before);

    editor.Type(editor.Field("Text_TCP_RetryConnTimeout", 0), "99999");
    editor.Press(set);
    QCOMPARE(editor.config.EditTcpClasses[0].RetryConnTimeout, 99999.0);
    QCOMPARE(editor.config.EditTcpClasses[0].ServerIp, (std::array<uint8_t, 4>{192, 255, 1, 10}));
}

void AppObjEditorTest::attributeFieldsNeverStayEmpty() {
    Editor editor;
    auto* octet = editor.Field("Text_ServerIP2", 3);
    auto* netId = editor.Field("MB_ID", Server02);
    octet->clear();
    netId->clear();
    for (auto* field : {octet, netId}) {
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(field, &leave);
    }
    QCOMPARE(octet->text(), QString("0"));
    QCOMPARE(netId->text(), QString());  // command fields may stay empty

    auto* timeout = editor.Field("Text_TCP_ConnTimeout", 0);
    QFocusEvent enter(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(timeout, &enter);
    QTRY_COMPARE(timeout->selectedText(), QString("1000"));
}

void AppObjEditorTest::buttonsSignalAndBackDiscardsTheEdits() {
    Editor editor;
    QSignalSpy back(editor.window.get(), &IOAppObj::backPressed);
    QSignalSpy next(editor.window.get(), &IOAppObj::nextPressed);
    QSignalSpy objects(editor.window.get(), &IOAppObj::objectViewRequested);
    QSignalSpy devices(editor.window.get(), &IOAppObj::deviceViewRequested);
    for (const char* button : {"NextButton", "ShowAppInf", "ShowMBInf"})
        editor.Press(editor.Find<QPushButton>(button));
    QCOMPARE((QList<qsizetype>{next.count(), objects.count(), devices.count()}),
             (QList<qsizetype>{1, 1, 1}));
    editor.Press(editor.Button("DeleteApp", Com2));
    editor.EnterCommand(Com1, "4", 0, "0", "8", "0");
    editor.Press(editor.Button("AddApp", Com1));
    editor.List("Combo_ConnValid", 1)->setCurrentIndex(0);
    editor.Press(editor.Find<QPushButton>("Btn_SetTCPClassAttr", 1));
    editor.Press(editor.Find<QPushButton>("BackButton"));
    QCOMPARE(back.count(), 1);
    QCOMPARE(editor.config.EditSerialClasses[1], SerialClassRecord{});

    editor.Open();
    QCOMPARE(editor.Entries(Com1), QStringList());
    QCOMPARE(editor.List("Instance", Com2)->count(), 4);
    QCOMPARE(editor.List("Combo_ConnValid", 1)->currentIndex(), 1);

    // Closing the window is leaving it too.
    editor.window->close();
    QCOMPARE(editor.config.EditTcpClasses[1], TcpClassRecord{});
}

void AppObjEditorTest::numericFieldsTakeDigitsOnlyTypedOrPasted() {
    Editor editor;
    auto* netId = editor.Field("MB_ID", Com1);
    auto* memory = editor.Field("MB_InternalMem", Com1);
    QTest::keyClicks(netId, "1-a2");
    QCOMPARE(netId->text(), QString("12"));
    for (const char* pasted : {"-5", "12a"}) {
        QApplication::clipboard()->setText(pasted);
        memory->clear();
        memory->paste();
        QCOMPARE(memory->text(), QString());
    }
    QApplication::clipboard()->setText("7");
    netId->selectAll();
    netId->paste();
    QCOMPARE(netId->text(), QString("7"));
}

void AppObjEditorTest::commandTableGoesOutAndComesInAsCsv() {
    Editor editor;
    QTemporaryDir folder;
    const QString exported = folder.filePath("com2.csv");
    const QString imported = folder.filePath("com1.csv");
    QVERIFY(test::WriteAll(imported,
                           "Instance,NetId,FunctionCode,MemAddress,StartAddress,Length\n"
                           "1,9,FC16 Preset Multiple Registers,600,0,8\n"
                           "2,0,3,700,0,8\n"));
    editor.dialogs.FileAnswers = {exported, imported};
    editor.Press(editor.Button("ExportCsv", Com2));
    QCOMPARE(test::ReadAll(exported),
             QByteArray("Instance,NetId,FunctionCode,MemAddress,StartAddress,Length,Reference\n"
                        "1,1,3,10,101,2,40102\n"
                        "2,2,3,20,102,2,40103\n"
                        "3,3,3,30,103,2,40104\n"
                        "4,4,3,40,104,2,40105\n"));
    editor.Press(editor.Button("ImportCsv", Com1));
    QCOMPARE(editor.dialogs.MessageTexts(),
             QStringList{"row 3, column 2 (NetId): ModBus Device Address Error. (1-247)"});
    QCOMPARE(editor.Entries(Com1), QStringList());
    QVERIFY(test::WriteAll(imported,
                           "Instance,NetId,FunctionCode,MemAddress,StartAddress,Length\n"
                           "1,9,16,600,0,8\n"));
    editor.dialogs.FileAnswers = {imported};
    editor.Press(editor.Button("ImportCsv", Com1));
    QCOMPARE(editor.Commands(Com1).Slots[0], (ModbusCommand{1, 9, 16, 600, 0, 8}));
}

}  // namespace kv

QTEST_MAIN(kv::AppObjEditorTest)
#include "AppObjEditorTest.moc"
