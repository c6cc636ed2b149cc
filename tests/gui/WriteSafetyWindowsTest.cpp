// The windows' safety net around writes: a backup kept before the save and the factory
// reset, said where in the window (the EEPROM export's: ImpExpEepTest); failure boxes that
// offer the console trace; "Save Console Trace...".

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "MainWindowHarness.h"
#include "ui/save/EDSAndEEPSet.h"

namespace kv {

namespace {

// A demo gateway read on the session as the main window reads it; backups kept in a
// folder of the test.
struct Rig : test::WindowRig<EDSAndEEPSet> {
    Rig() {
        readLines = test::ReadOnSession(Link, Gateway, Config);
        Session.LastRead = Config;
        Session.BackupFolder = folder.filePath("backups");
    }
    // The one backup kept; empty unless there is exactly one.
    QString Backup() const {
        const QDir backups(Session.BackupFolder);
        const QStringList files = backups.entryList(QDir::Files);
        return files.size() == 1 ? backups.filePath(files.first()) : QString();
    }
    QString BackupNote() const { return Find<QLabel>("BackupNote")->text(); }

    QTemporaryDir folder;
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
            rig.Dialogs.YesNoAnswers = {true};
            rig.Open().SetEdsFolders({rig.folder.path()});
            if (c.silentAfterWriteLines >= 0)
                rig.Gateway.Console.Faults.StopAfterLines = rig.readLines + c.silentAfterWriteLines;

            rig.Press(c.button);

            QVERIFY(test::ReadAll(rig.Backup()).contains("\"NodeId\": 5"));
            QCOMPARE(rig.BackupNote(), c.notePrefix + rig.Backup());
            if (!c.message.isEmpty()) {
                QCOMPARE(rig.Dialogs.MessageTexts().last(), c.message);
                QVERIFY(rig.Dialogs.Messages.last().Details.contains(" -> "));
            }
        }
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
