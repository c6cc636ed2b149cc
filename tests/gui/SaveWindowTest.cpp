// The save window driven as a user would against the virtual gateway, keeping a backup
// before a write and saying where: the poll path lists, "Set Path", "Save", "Factory
// Setting", "Back" and every failure the user can meet.

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <semaphore>

#include "MainWindowHarness.h"
#include "support/TestFiles.h"
#include "ui/common/UserSettings.h"
#include "ui/save/EDSAndEEPSet.h"

namespace kv {
namespace {

// A gateway read as the main window reads it, the editor's working copy made, and the
// save window open on it, putting its EDS file and its backups into folders of their own.
struct Rig : test::WindowRig<EDSAndEEPSet> {
    Rig() {
        Session.PortNumber = 3;
        Session.SetCommunicationState = [this](const QString& text) { states.append(text); };
        readLines = test::ReadOnSession(Link, Gateway, Config);
        Session.LastRead = Config;
        Session.BackupFolder = backupFolder.path();
    }
    EDSAndEEPSet& OpenInFolder() {
        Open().SetEdsFolders({edsFolder.path()});
        return *Window;
    }
    void Choose(const QString& list, const QString& text) {
        auto* combo = Find<QComboBox>(list);
        WindowRig::Choose(combo, combo->findText(text));
    }
    QStringList LinesSent() const { return Gateway.LinesReceived().mid(readLines); }
    QString Backup() const { return test::FirstFile(backupFolder.path()); }
    QString BackupNote() const { return Find<QLabel>("BackupNote")->text(); }

    QStringList states;
    int readLines = 0;
    QTemporaryDir edsFolder, backupFolder;
};

ModbusCommand Command(uint8_t functionCode) { return {1, 1, functionCode, 0, 0, 2}; }

// The failures of a save or a factory reset: the gateway goes silent once the write has
// begun or never answers, the port does not open, no EDS folder can be made.
void StopAnswering(Rig& rig) { rig.Gateway.Console.Faults.StopAfterLines = rig.readLines + 12; }
void NeverAnswer(Rig& rig) { rig.Gateway.Console.Faults.StopAfterLines = rig.readLines; }
void RefuseOpen(Rig& rig) { rig.Gateway.Port.NextOpenResult = {PortOpenError::NotOpened, {}}; }
void NoEdsFolder(Rig& rig) { rig.Window->SetEdsFolders({"/proc/no-such-folder"}); }

}  // namespace

class SaveWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The lists' contents are PollPathsTest's; here what the window shows and stores.
    void opensWithTheReadPathsAndSetPathStoresTheChoiceBackSendsNothing() {
        Rig rig;
        rig.Config.ConnectionPaths = {{0x65, 2, 0x0D}, {0x6A, 1, 0x0B}};
        rig.Config.EditSerialClasses[0] = {1, 1000, 2, 0, 0, 0, 0, 0, {Command(3), Command(3)}};
        rig.Config.EditTcpClasses[2] = {1, {}, 0, 0, 0, 2, {Command(1), Command(15)}};
        EDSAndEEPSet& window = rig.OpenInFolder();
        QCOMPARE(rig.Find<QLabel>("Lbl_EEPProdPath_2")->text(), QString("0x0D"));
        QCOMPARE(rig.Find<QLabel>("Lbl_EEPConsPath_0")->text(), QString("0x6A"));
        // The consumed path read has no command behind it any more: the parameter object,
        // and the window says so beside the lists.
        QVERIFY(window.WorkingPaths() == (ConnectionPaths{{0x65, 2, 0x0D}, {0x64, 1, 1}}));
        QVERIFY(rig.Find<QLabel>("Combo_PollProdMoved")->isHidden());
        QCOMPARE(rig.Find<QLabel>("Combo_PollConsMoved")->text(),
                 QString("0x6A/1/11 is no longer offered; 0x64/1/1 is chosen."));
        QVERIFY(
            rig.Find<QLabel>("WarningsNote")
                ->text()
                .startsWith(
                    "Warnings:\nSerialClasses[0].Commands[1].MemAddress: COM1 instance 1 and COM1 "
                    "instance 2 share 0..1\n"));

        rig.Choose("Combo_PollProdClass", "ID: 0x69");
        rig.Choose("Combo_PollConsClass", "ID: 0x69");
        QCOMPARE(rig.Find<QComboBox>("Combo_PollConsInst")->currentText(), QString("ID: 0x02"));
        rig.Press("Btn_SetPath");
        QVERIFY(window.WorkingPaths() == (ConnectionPaths{{0x69, 1, 0x0B}, {0x69, 2, 0x0B}}));
        QCOMPARE(rig.Dialogs.MessageTexts(), QStringList{"Setting Path OK.!!!"});
        QVERIFY(rig.Config.ConnectionPaths == (ConnectionPaths{{0x65, 2, 0x0D}, {0x6A, 1, 0x0B}}));

        // A save during a read-out and "Back" send nothing.
        QSignalSpy abandoned(&window, &EDSAndEEPSet::closedWithoutSave);
        QSignalSpy objectView(&window, &EDSAndEEPSet::objectViewRequested);
        std::binary_semaphore readOutEnds{0};  // a save during a read-out does nothing
        rig.Link.Run<int>(nullptr,
                          [&](ConsoleLink&, const ProgressFn&) {
                              readOutEnds.acquire();
                              return 0;
                          },
                          {}, {});
        rig.Click("FinishDeviceSet");
        readOutEnds.release();
        test::WaitUntilIdle(rig.Link);
        rig.Press("AppObj");
        rig.Press("BackButton");
        QCOMPARE(objectView.count(), 1);
        QCOMPARE(abandoned.count(), 1);
        QVERIFY(rig.LinesSent().isEmpty());
    }

    void saveWritesTheGatewayAndCloses() {
        Rig rig;
        rig.Config.DeviceNetParams.NodeId = 0;  // an address like any other
        rig.Config.EditSerialClasses[0] = {1, 1500, 1, 0, 0, 0, 0, 0, {Command(3)}};
        EDSAndEEPSet& window = rig.OpenInFolder();
        rig.Choose("Combo_PollProdClass", "ID: 0x65");
        rig.Press("Btn_SetPath");
        rig.Find<QLineEdit>("EDSInfo_0")->setText("  Packing line  ");
        QSignalSpy completed(&window, &EDSAndEEPSet::saveCompleted);
        // Closing the window while the save runs would pull it from under the running
        // sequence.
        int closeAttempts = 0;
        QObject::connect(rig.Find<QProgressBar>("ProgressBar1"), &QProgressBar::valueChanged,
                         [&](int value) {
                             if (value != 50) return;
                             ++closeAttempts;
                             QVERIFY(!window.close());
                         });

        rig.Press("FinishDeviceSet");

        QCOMPARE(closeAttempts, 1);
        QCOMPARE(completed.count(), 1);
        QCOMPARE(rig.Gateway.Port.SelectedPort(), 3);
        QVERIFY(!rig.Gateway.Port.IsOpen());
        // The chosen path and the editor's command reach the gateway (the layout:
        // WriteBackTest), and the edited class becomes the session's.
        QCOMPARE(int(rig.Gateway.Console.Eeprom.Blocks[1][16]), 0x65);
        QCOMPARE(int(rig.Gateway.Console.Eeprom.Blocks[8][16 + 2]), 3);
        QVERIFY(rig.Config.SerialClasses[0].Commands[0] == Command(3));
        QCOMPARE(rig.Config.SerialClasses[0].CmdTimeout, 1500.0);
        // The read-back found node 0 and everything else as written.
        const QString eds = QDir(rig.edsFolder.path()).filePath("KV-9052R_ 0.eds");
        QCOMPARE(rig.states, QStringList{"Produce EDS File OK: " + QDir::toNativeSeparators(eds) +
                                         " Written and verified."});
        QVERIFY(test::ReadAll(eds).contains("$ File Description Section : Packing line\r\n"));
    }

    // A save or factory reset that fails gives the buttons back, copies nothing and says how
    // to get the backup back; the EDS file written last fails after the gateway holds the
    // new records.
    // A gateway that answers the read-back with another mask than was written: the field is
    // listed. Without the check box nothing is read back, and the choice is kept.
    void theReadBackListsWhatDiffers() {
        Rig rig;
        rig.OpenInFolder();
        rig.Gateway.Console.Faults.NoiseFrom = "255.255.255.0";
        rig.Gateway.Console.Faults.NoiseTo = "255.255.0.0";
        rig.Press("FinishDeviceSet");
        QCOMPARE(rig.Dialogs.MessageTexts(),
                 QStringList{"Written, but the gateway does not hold what was written:\n"
                             "EthernetParams.Mask: \"255.255.255.0\", read \"255.255.0.0\""});
        const qsizetype verifiedLines = rig.LinesSent().size();

        Rig unverified;
        unverified.OpenInFolder();
        unverified.Find<QCheckBox>("VerifyAfterWriting")->click();
        unverified.Press("FinishDeviceSet");
        QCOMPARE(unverified.LinesSent().size(), verifiedLines - unverified.readLines);
        QVERIFY(!UserSettings().VerifyAfterWriting());
    }

    void failuresLeaveTheWindowOpenWithItsButtons() {
        const struct {
            void (*arrange)(Rig&);
            const char* button;
            QString message;
            QStringList states;
            bool traceOffered;  // with the message
            bool hintFirst;     // what to check when not a byte came back, before the trace
        } rows[] = {
            {StopAnswering, "FinishDeviceSet", "Timeout", {"Timeout"}, true, false},
            {NeverAnswer, "FinishDeviceSet", "Timeout", {"Timeout"}, true, true},
            {RefuseOpen, "Btn_FactorySet", "Can't open COM 3!", {}, false, false},
            {NoEdsFolder,
             "FinishDeviceSet",
             "No folder to write KV-9052R_ 5.eds to",
             {""},
             true,
             false},
        };
        for (const auto& r : rows) {
            Rig rig;
            rig.Config.EditSerialClasses[0].CmdTimeout = 4321;
            EDSAndEEPSet& window = rig.OpenInFolder();
            rig.Dialogs.YesNoAnswers = {true};
            r.arrange(rig);
            rig.Press(r.button);
            QCOMPARE(rig.Dialogs.MessageTexts(), QStringList{r.message});
            QCOMPARE(rig.Dialogs.Messages.last().Details.contains(" -> "), r.traceOffered);
            QCOMPARE(rig.Dialogs.Messages.last().Details.startsWith(
                         "The gateway never answered. Check that it is powered"),
                     r.hintFirst);
            QCOMPARE(rig.states, r.states);
            QVERIFY(window.isVisible());
            QCOMPARE(rig.Enabled({"FinishDeviceSet", "BackButton", "Btn_FactorySet"}), "111");
            QVERIFY(!rig.Gateway.Port.IsOpen());
            QVERIFY(rig.Config.SerialClasses[0].CmdTimeout != 4321);
            QVERIFY(QDir(rig.edsFolder.path()).isEmpty());
            QCOMPARE(rig.BackupNote(),
                     "To get the earlier configuration back: kv9052r-cli apply --port COM3 " +
                         rig.Backup());
        }
    }

    // "Cancel" ends a running save at its next console line: the window tells what became of
    // the gateway as a stop by signal does, and gives the buttons back.
    void cancelEndsTheSaveAndTellsTheGatewaysState() {
        Rig rig;
        EDSAndEEPSet& window = rig.OpenInFolder();
        const auto buttons = {"FinishDeviceSet", "BackButton", "Btn_FactorySet", "CancelOperation"};
        // Once the write has begun, the session waits in the middle of an exchange until the
        // button was clicked on the window thread.
        QString whileWriting;
        std::binary_semaphore clicked{0};
        rig.Gateway.Port.EachWait = [&] {
            if (!whileWriting.isEmpty() || rig.LinesSent().size() < 12) return;
            QMetaObject::invokeMethod(&window, [&] {
                whileWriting = rig.Enabled(buttons);
                rig.Click("CancelOperation");
                clicked.release();
            });
            clicked.acquire();
        };
        rig.Press("FinishDeviceSet");
        const QString wayBack =
            "To get the earlier configuration back: kv9052r-cli apply --port COM3 " + rig.Backup();
        QCOMPARE(whileWriting, QString("0001"));
        QCOMPARE(rig.Dialogs.MessageTexts(),
                 QStringList{"Cancelled.\nThe gateway is partly written.\n" + wayBack});
        QCOMPARE(rig.states, QStringList{"The gateway is partly written."});
        QCOMPARE(rig.BackupNote(), wayBack);
        QCOMPARE(rig.Enabled(buttons), QString("1110"));
        QVERIFY(window.isVisible() && !rig.Gateway.Port.IsOpen());
    }

    // The bytes a factory reset writes are FactoryResetTest's; here the question, the backup
    // and the window closing.
    // The backup holds the read-out the window started with (here node 9), or, for a
    // configuration opened from a file, which may be another gateway's, the gateway read again.
    void factoryResetAsksFirstAndKeepsABackup() {
        const struct {
            QString openedFile;
            QString backupHolds;
        } rows[] = {{"", "\"NodeId\": 9"}, {"/plant/hall2.json", "\"NodeId\": 5"}};
        for (const auto& row : rows) {
            Rig rig;
            rig.Session.LastRead->DeviceNetParams.NodeId = 9;
            rig.Session.OpenedFile = row.openedFile;
            EDSAndEEPSet& window = rig.OpenInFolder();
            QSignalSpy completed(&window, &EDSAndEEPSet::saveCompleted);
            rig.Dialogs.YesNoAnswers = {false, true};
            rig.Press("Btn_FactorySet");
            QVERIFY(rig.LinesSent().isEmpty());

            rig.Press("Btn_FactorySet");
            QVERIFY2(test::ReadAll(rig.Backup()).contains(row.backupHolds.toUtf8()),
                     qPrintable(row.openedFile));
            QCOMPARE(rig.BackupNote(), "The gateway's configuration was kept in " + rig.Backup());
            QCOMPARE(completed.count(), 1);
            QCOMPARE(rig.Config.EthernetParams.Ip, QString("192.168.255.1"));
        }
        // A backup that cannot be kept stops the reset before a byte is written.
        Rig rig;
        rig.Session.BackupFolder = "/proc/kv9052r-backups";
        rig.OpenInFolder();
        rig.Dialogs.YesNoAnswers = {true};
        rig.Press("Btn_FactorySet");
        QVERIFY(rig.Dialogs.MessageTexts().value(0).endsWith("\nNothing was written."));
        QCOMPARE(rig.LinesSent(), QStringList());
    }
};

}  // namespace kv

QTEST_MAIN(kv::SaveWindowTest)
#include "SaveWindowTest.moc"
