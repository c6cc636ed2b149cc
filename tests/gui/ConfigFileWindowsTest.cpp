// Configurations kept as files in the windows: "Open Configuration..." and "Save
// Configuration As..." of the main window, and the save of an opened configuration, which
// reads the gateway first and writes only the shown changes after "Write". Also the console
// trace a failure box offers, and "Save Console Trace..." writing it.

#include <QAction>
#include <QJsonDocument>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "MainWindowHarness.h"
#include "config/ConfigJson.h"
#include "config/WorkingCopy.h"
#include "save/ApplyPlan.h"
#include "save/OpenConfiguration.h"
#include "ui/save/EDSAndEEPSet.h"

namespace kv {
namespace {

QString Fixture() { return QStringLiteral(KV_SOURCE_DIR "/tests/gui/data/configuration.json"); }

class ConfigFileWindowsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder;

private Q_SLOTS:
    // A refused file opens nothing; the checks are ApplyConfigurationTest's, here every
    // problem listed in one message. A file that passes, saved again, gives the same file.
    void OpenRefusesOrOpensAndSaveAsGivesTheSameFile() {
        test::MainWindowHarness rig;
        QByteArray text = test::ReadAll(Fixture());
        text.replace("\"NodeId\": 9", "\"NodeId\": 64").replace("\"Parity\": 1", "\"Parity\": 3");
        const QString file = folder.filePath("bad.json");
        QVERIFY(test::WriteAll(file, text));
        rig.Dialogs.FileAnswers = {file};
        rig.Find<QAction>("MenuOpenConfig")->trigger();
        QCOMPARE(rig.Dialogs.MessageTexts(),
                 QStringList{"DeviceNetParams.NodeId: Node ID is not supported!(0~63)\n"
                             "SerialClasses[0].Parity: Parity is not supported!"});
        QVERIFY(!rig.Window.Connected());

        rig.Dialogs.Messages.clear();
        const QString saved = folder.filePath("saved.json");
        rig.Dialogs.FileAnswers = {Fixture(), saved};
        rig.Find<QAction>("MenuOpenConfig")->trigger();
        QCOMPARE(rig.Find<QLineEdit>("FirmwareVer")->text(), QStringLiteral("configuration.json"));
        QVERIFY(rig.Find<QPushButton>("CreateMBDevice")->isEnabled());
        QCOMPARE(rig.Gateway.LinesReceived(), QStringList());
        rig.Find<QAction>("MenuSaveConfig")->trigger();
        QCOMPARE(test::ReadAll(saved), test::ReadAll(Fixture()));
    }

    // An opened configuration in the save window, on a gateway holding the demo image.
    void WriteShowsTheChangesAndLeavesTheGatewayEqualToTheFile() {
        QTemporaryDir edsFolder, backups;
        test::WindowRig<EDSAndEEPSet> rig;
        rig.Config = OpenConfigurationFile(Fixture()).Config;
        rig.Session.OpenedFile = Fixture();
        rig.Session.BackupFolder = backups.path();
        MakeWorkingCopy(rig.Config);
        rig.Open().SetEdsFolders({edsFolder.path()});
        const QRegularExpression writing(QStringLiteral("^(\\d+|ip .*|mask .*|gateway .*)$"));
        rig.Dialogs.YesNoAnswers = {false, true};
        rig.Press("FinishDeviceSet");  // the read; the write refused
        QCOMPARE(rig.Gateway.LinesReceived().filter(writing), QStringList());
        QVERIFY(rig.Window->isVisible() && rig.Find("FinishDeviceSet")->isEnabled());
        rig.Press("FinishDeviceSet");  // the read, and the write after "Write"
        QCOMPARE(rig.Dialogs.Questions.size(), 2);
        QCOMPARE(rig.Dialogs.Questions[1].Title, QStringLiteral("Changes to write"));
        QCOMPARE(rig.Dialogs.Questions[1].Text,
                 QStringLiteral("DeviceNetParams.NodeId: 5 -> 9\n"
                                "SerialClasses[0].Commands[0].Length: 10 -> 12\n"
                                "TcpClasses[1].ConnValid: NO -> YES"));
        // The backup holds the gateway as read before the write, not the file.
        QVERIFY(test::ReadAll(test::FirstFile(backups.path())).contains("\"NodeId\": 5"));
        GatewayConfig reread;
        QVERIFY(test::ReadOnSession(rig.Link, rig.Gateway, reread) >= 0);
        QJsonObject file = QJsonDocument::fromJson(test::ReadAll(Fixture())).object();
        QJsonObject held = ConfigToJson(reread);
        file.remove("FirmwareInfo");  // the controller's own
        held.remove("FirmwareInfo");
        QCOMPARE(JsonDifferences(file, held), QStringList());
    }

    void aFailedReadOutOffersItsTraceAndTheFileMenuSavesIt() {
        test::MainWindowHarness h;
        h.Gateway.Console.Faults.StopAfterLines = 2;
        h.Connect();
        const test::RecordingDialogs::Shown shown = h.Dialogs.Messages.last();
        QCOMPARE(shown.Title, "Error");
        QVERIFY2(shown.Details.contains(" -> \\r\n"), qPrintable(shown.Details));

        const QString path = folder.filePath("trace.txt");
        h.Dialogs.FileAnswers = {path};
        h.Find<QAction>("MenuSaveTrace")->trigger();
        QCOMPARE(test::ReadAll(path), shown.Details.toUtf8());
    }
};

}  // namespace
}  // namespace kv

QTEST_MAIN(kv::ConfigFileWindowsTest)
#include "ConfigFileWindowsTest.moc"
