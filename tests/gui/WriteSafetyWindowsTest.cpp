// The windows' safety net around writes: a backup kept before the save, the factory reset
// and the EEPROM export, said where in the window; failure boxes that offer the console
// trace; "Save Console Trace...".

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "MainWindowHarness.h"
#include "backup/BackupFile.h"
#include "ui/backup/frmImpExpEEP.h"
#include "ui/save/EDSAndEEPSet.h"

namespace kv {

using test::RecordingDialogs;
using test::SimulatedGateway;

namespace {

// A demo gateway read on the session as the main window reads it, backups kept in a
// folder of the test.
struct Rig {
    Rig() {
        gateway.Console.Eeprom = sim::DemoImage();
        readLines = test::ReadOnSession(link, gateway, config);
        session.LastRead = config;
        session.BackupFolder = folder.filePath("backups");
    }

    void Press(QWidget& window, const char* name) {
        window.findChild<QPushButton*>(name)->click();
        test::WaitUntilIdle(link);
    }

    QStringList Backups() const { return QDir(session.BackupFolder).entryList(QDir::Files); }
    QString BackupNote(QWidget& window) const {
        return window.findChild<QLabel*>("BackupNote")->text();
    }

    QTemporaryDir folder;
    SimulatedGateway gateway;
    GatewaySession link{test::DevicesOf(gateway)};
    GatewayConfig config;
    RecordingDialogs dialogs;
    Session session{config, link, dialogs};
    int readLines = 0;
};

const QString KeptIn = QStringLiteral("The gateway's configuration was kept in ");
const QString GetBackWith =
    QStringLiteral("To get the earlier configuration back: kv9052r-cli apply --port P ");

}  // namespace

class WriteSafetyWindowsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void saveAndFactoryResetKeepABackupFirst() {
        const struct {
            const char* button;
            int silentAfterWriteLines;  // -1: the gateway answers throughout
            QString message;
            QString notePrefix;
        } cases[] = {
            {"Btn_FactorySet", -1, {}, KeptIn},
            {"FinishDeviceSet", 12, "Timeout", GetBackWith},
        };
        for (const auto& c : cases) {
            Rig rig;
            rig.dialogs.YesNoAnswers = {true};
            EDSAndEEPSet window(rig.session);
            window.SetEdsFolders({rig.folder.path()});
            window.show();
            if (c.silentAfterWriteLines >= 0)
                rig.gateway.Console.Faults.StopAfterLines = rig.readLines + c.silentAfterWriteLines;

            rig.Press(window, c.button);

            QCOMPARE(rig.Backups().size(), 1);
            const QString backup = QDir(rig.session.BackupFolder).filePath(rig.Backups().first());
            QVERIFY(test::ReadAll(backup).contains("\"NodeId\": 5"));
            QCOMPARE(rig.BackupNote(window), c.notePrefix + backup);
            if (!c.message.isEmpty()) {
                QCOMPARE(rig.dialogs.MessageTexts().last(), c.message);
                QVERIFY(rig.dialogs.Messages.last().Details.contains(" -> "));
            }
        }
    }

    void eepromExportKeepsABackupFirst() {
        Rig rig;
        const QString file = rig.folder.filePath("factory.ini");
        QVERIFY(test::WriteAll(file, BackupFile::Encode(sim::FactoryImage())));
        rig.dialogs.FileAnswers = {file};
        frmImpExpEEP window(rig.session);
        window.show();
        rig.Press(window, "Connect");

        rig.Press(window, "cmdExportToEEP");

        QCOMPARE(rig.dialogs.MessageTexts(), QStringList{"Export to KV-9052R's EEPROM finished."});
        QCOMPARE(rig.Backups().size(), 1);
        QCOMPARE(rig.BackupNote(window),
                 KeptIn + QDir(rig.session.BackupFolder).filePath(rig.Backups().first()));
        QVERIFY(rig.gateway.Console.Eeprom.Blocks[8] == sim::FactoryImage().Blocks[8]);
    }

    void aFailedReadOutOffersItsTraceAndTheFileMenuSavesIt() {
        test::MainWindowHarness h;
        h.Gateway.Console.Faults.StopAfterLines = 2;
        h.Connect();

        const test::RecordingDialogs::Shown shown = h.Dialogs.Messages.last();
        QCOMPARE(shown.Title, "Error");
        QVERIFY2(shown.Details.contains(" -> \\r\n"), qPrintable(shown.Details));

        QTemporaryDir folder;
        const QString path = folder.filePath("trace.txt");
        h.Dialogs.FileAnswers = {path};
        h.Window.findChild<QAction*>("MenuSaveTrace")->trigger();
        QCOMPARE(test::ReadAll(path), shown.Details.toUtf8());
    }
};

}  // namespace kv

QTEST_MAIN(kv::WriteSafetyWindowsTest)
#include "WriteSafetyWindowsTest.moc"
