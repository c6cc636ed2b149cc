// Configurations kept as files in the windows: "Open Configuration..." and "Save
// Configuration As..." of the main window, and the save of an opened configuration, which
// reads the gateway first and writes only the shown changes after "Write". Also the console
// trace a failure box offers, and "Save Console Trace..." writing it.

#include <QAction>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include "MainWindowHarness.h"
#include "config/ConfigJson.h"
#include "config/WorkingCopy.h"
#include "save/ApplyPlan.h"
#include "save/OpenConfiguration.h"
#include "ui/common/UserSettings.h"
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
        // The file holds no firmware data: the field stays empty; the title names the file.
        QCOMPARE(rig.Find<QLineEdit>("FirmwareVer")->text(), QString());
        QCOMPARE(rig.Window.windowTitle(),
                 QStringLiteral("General Setting - configuration.json[*]"));
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

    // A file named on the command line (a missing one is refused) or dropped opens. With
    // changes, leaving asks first: Cancel keeps all, Save writes a file first, Discard goes
    // on; without changes the usual exit question comes.
    void ChangesAreNeverLostUnasked() {
        test::MainWindowHarness rig;
        rig.Window.OpenConfigurationPath(folder.filePath("none.json"));
        QVERIFY(!rig.Window.Connected());
        QMimeData dragged;
        dragged.setUrls({QUrl::fromLocalFile(Fixture())});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dragged, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(&rig.Window, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&rig.Window, &drop);
        QVERIFY(rig.Window.Connected());
        QVERIFY(!rig.Window.isWindowModified());

        const auto changeNode = [&](const char* node) {
            rig.Find<QLineEdit>("CANNodeId")->setText(node);
            rig.Click("SettingDeviceNetParam");
        };
        changeNode("12");
        QVERIFY(rig.Window.isWindowModified());
        rig.Dialogs.UnsavedAnswers = {UnsavedChoice::Cancel, UnsavedChoice::Save,
                                      UnsavedChoice::Discard};
        // Named without its suffix, the file becomes kept.json, which exists: replace it?
        rig.Dialogs.FileAnswers = {folder.filePath("kept")};
        QVERIFY(test::WriteAll(folder.filePath("kept.json"), "{}"));
        rig.Dialogs.YesNoAnswers = {true};
        QVERIFY(!rig.Window.close());
        rig.Find<QAction>("MenuOpenConfig")->trigger();  // saved, then the open cancelled
        QVERIFY(test::ReadAll(folder.filePath("kept.json")).contains("\"NodeId\": 12"));
        QVERIFY(!rig.Window.close());  // no changes: "Are you sure...?" answered No
        changeNode("13");
        QVERIFY(rig.Window.close());
        QStringList titles;
        for (const auto& question : rig.Dialogs.Questions) titles << question.Title;
        QCOMPARE(titles, QStringList({"Unsaved Changes", "Unsaved Changes", "Save Configuration As",
                                      "Exit Query", "Unsaved Changes"}));
    }

    // Before any port is kept, the list starts on the first COM with a device behind it and
    // says below what is behind the one chosen. The port, the recent files and their folder
    // are there after a restart, and a file opened is a recent one at once; a recent file
    // that is gone is said and dropped.
    void SettingsSurviveARestart() {
        QTemporaryDir ports;
        qputenv("KV9052R_PORT_DIR", QFile::encodeName(ports.path()));
        const auto leavePorts = qScopeGuard([] { qunsetenv("KV9052R_PORT_DIR"); });
        QVERIFY(QFile::link(Fixture(), ports.filePath("COM1")));  // a link to no device
        QVERIFY(QFile::link("/dev/null", ports.filePath("COM2")));
        test::MainWindowHarness rig;
        auto* device = rig.Find<QLabel>("ComPortDevice");
        QCOMPARE(rig.Find<QComboBox>("ComPort")->currentIndex(), 1);
        QCOMPARE(device->text(), "/dev/null - port folder link");
        rig.Choose(rig.Find<QComboBox>("ComPort"), 0);
        QCOMPARE(device->text(),
                 "No device is present behind COM\u00a01 - port folder link to no device");

        const auto recentNames = [](QMenu* recent) {
            Q_EMIT recent->aboutToShow();
            QStringList names;
            for (QAction* entry : recent->actions()) names << entry->text();
            return names;
        };
        const QString gone = folder.filePath("gone.json");
        QVERIFY(test::WriteAll(gone, test::ReadAll(Fixture())));
        rig.Window.OpenConfigurationPath(gone);
        QVERIFY(rig.Find<QMenu>("MenuRecent")->menuAction()->isEnabled());
        QCOMPARE(recentNames(rig.Find<QMenu>("MenuRecent")), QStringList{"gone.json"});
        rig.Window.OpenConfigurationPath(Fixture());
        QFile::remove(gone);
        rig.Choose(rig.Find<QComboBox>("ComPort"), 4);
        rig.Connect();

        Main_F again(rig.Session);
        QCOMPARE(again.findChild<QComboBox*>("ComPort")->currentIndex(), 4);
        QMenu* recent = again.findChild<QMenu*>("MenuRecent");
        QCOMPARE(recentNames(recent), QStringList({"configuration.json", "gone.json"}));
        rig.Dialogs.Messages.clear();
        recent->actions()[1]->trigger();
        QCOMPARE(rig.Dialogs.MessageTexts(),
                 QStringList{gone + " no longer exists; it is taken off the list."});
        QCOMPARE(UserSettings().RecentFiles(), QStringList{Fixture()});
        QCOMPARE(UserSettings().Folder(), QFileInfo(Fixture()).absolutePath());
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
