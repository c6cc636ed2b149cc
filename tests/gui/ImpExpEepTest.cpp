// The EEPROM copy window against the virtual gateway: its states, its messages and what
// it leaves in the file and the gateway.

#include "backup/BackupFile.h"
#include "backup/ImpExpEepWindow.h"
#include "sim/DemoImages.h"
#include "support/RecordingDialogs.h"
#include "support/SimulatedGateway.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace kv {

using test::RecordingDialogs;
using test::SimulatedGateway;

class ImpExpEepTest : public QObject {
    Q_OBJECT

private:
    // One virtual gateway, the program's console link on it and a fresh window.
    struct Bench {
        explicit Bench(sim::ControllerModel model = sim::ControllerModel::Q5308RT)
            : Gateway(model) {
            Gateway.Console.Eeprom = sim::DemoImage();
            Window = std::make_unique<frmImpExpEEP>(Session);
        }
        frmImpExpEEP& W() { return *Window; }
        QStringList Messages() const { return Dialogs.MessageTexts(); }
        QString LastTitle() const { return Dialogs.Messages.last().Title; }
        bool PortOpen() const { return Gateway.Port.IsOpen(); }
        QString Path(const QString& name = QStringLiteral("KV-9052R_EEP.ini")) const {
            return Folder.filePath(name);
        }

        QTemporaryDir Folder;

        SimulatedGateway Gateway;
        ConsoleLink Link{Gateway.Port, Gateway.Clock, Gateway.Pump};
        RecordingDialogs Dialogs;
        GatewayConfig Config;
        kv::Session Session{Config, Link, Dialogs};
        std::unique_ptr<frmImpExpEEP> Window;
    };

    // Enabled: Open COM, Close COM, port list, Import and Export.
    static void ExpectEnabled(frmImpExpEEP& w, bool connect, bool disconnect, bool comPort,
                              bool transfers) {
        QCOMPARE(w.Connect->isEnabled(), connect);
        QCOMPARE(w.cmdDisconnect->isEnabled(), disconnect);
        QCOMPARE(w.ComPort->isEnabled(), comPort);
        QCOMPARE(w.cmdImportToIni->isEnabled(), transfers);
        QCOMPARE(w.cmdExportToEEP->isEnabled(), transfers);
    }

    static void Write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void Render(QWidget& window, const QString& name) {
        const QString folder = qEnvironmentVariable("KV_TEST_OUTPUT", QDir::tempPath());
        QDir().mkpath(folder);
        window.show();
        QVERIFY(window.grab().save(QDir(folder).filePath(name)));
    }

private Q_SLOTS:
    void opensWithItsOwnPortListAndOnlyOpenComEnabled() {
        Bench bench;
        frmImpExpEEP& w = bench.W();
        QCOMPARE(w.objectName(), QStringLiteral("frmImpExpEEP"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Import/Export EEPROM"));
        QCOMPARE(w.ComPort->count(), 16);
        QCOMPARE(w.ComPort->itemText(0), QStringLiteral("COM 1"));
        QCOMPARE(w.ComPort->itemText(15), QStringLiteral("COM 16"));
        QCOMPARE(w.ComPort->currentIndex(), 0);
        QCOMPARE(w.CommunicationRegion->title(), QStringLiteral("Communication"));
        QCOMPARE(w.ConnectProgress->maximum(), CopyProgressMaximum);
        ExpectEnabled(w, true, false, true, false);
        for (const char* name : {"ComPort", "Connect", "cmdDisconnect", "cmdImportToIni",
                                 "cmdExportToEEP", "Command1", "ConnectProgress"})
            QVERIFY2(w.findChild<QWidget*>(name), name);
        Render(w, "frmImpExpEEP.png");
    }

    void openAndCloseCom() {
        Bench bench;
        frmImpExpEEP& w = bench.W();
        w.ComPort->setCurrentIndex(2);
        w.Connect->click();
        QVERIFY(bench.PortOpen());
        QCOMPARE(bench.Gateway.Port.SelectedPort(), 3);
        ExpectEnabled(w, false, true, true, true);
        w.cmdDisconnect->click();
        QVERIFY(!bench.PortOpen());
        ExpectEnabled(w, true, false, true, false);

        // Choosing another port closes the open one; nothing may be sent on it then.
        w.Connect->click();
        w.ComPort->setCurrentIndex(4);
        QVERIFY(!bench.PortOpen());
        ExpectEnabled(w, true, false, true, false);
        QVERIFY(bench.Messages().isEmpty());
    }

    void portOpenFailuresHaveTheirMessages() {
        Bench bench;
        frmImpExpEEP& w = bench.W();
        w.ComPort->setCurrentIndex(3);
        bench.Gateway.Port.NextOpenResult = {PortOpenError::InUse, {}};
        w.Connect->click();
        QCOMPARE(bench.Messages(), QStringList({"COM 4 has been occupied"}));
        QCOMPARE(bench.LastTitle(), QString());
        ExpectEnabled(w, true, false, true, false);

        bench.Gateway.Port.NextOpenResult = {PortOpenError::Other, "Permission denied"};
        w.Connect->click();
        QCOMPARE(bench.Messages().last(), QStringLiteral("Permission denied"));
        ExpectEnabled(w, true, false, true, false);

        bench.Gateway.Unplug();
        w.Connect->click();
        QCOMPARE(bench.Messages().last(), QStringLiteral("Can't open COM 4!"));
        QCOMPARE(bench.LastTitle(), QStringLiteral("Warning"));
        ExpectEnabled(w, true, false, true, false);
    }

    void importWritesTheFileAndKeepsThePortOpen() {
        Bench bench;
        frmImpExpEEP& w = bench.W();
        w.Connect->click();
        bench.Dialogs.FileAnswers << bench.Path();
        w.cmdImportToIni->click();

        QCOMPARE(bench.Messages(), QStringList({"Import to ini file finished."}));
        QCOMPARE(bench.LastTitle(), QString());
        QVERIFY(bench.PortOpen());
        ExpectEnabled(w, false, true, false, true);
        QCOMPARE(w.ConnectProgress->value(), CopyProgressMaximum);
        QCOMPARE(BackupFile::Read(bench.Path()).Status, BackupReadStatus::Ok);
        QCOMPARE(bench.Link.ReplyTimeoutMs, int16_t(200));
        Render(w, "frmImpExpEEP-finished.png");
    }

    void cancellingTheImportDialogChangesNothing() {
        Bench bench;
        frmImpExpEEP& w = bench.W();
        w.Connect->click();
        w.cmdImportToIni->click();
        QVERIFY(bench.Messages().isEmpty());
        QVERIFY(bench.PortOpen());
        ExpectEnabled(w, false, true, true, true);
        QVERIFY(bench.Gateway.LinesReceived().isEmpty());
    }

    void importTimeoutIsReportedAndKeepsTheEarlierBackup() {
        Bench bench;
        frmImpExpEEP& w = bench.W();
        Write(bench.Path(), "earlier backup\r\n");
        bench.Gateway.Console.Faults.StopAfterLines = 200;
        w.Connect->click();
        bench.Dialogs.FileAnswers << bench.Path();
        w.cmdImportToIni->click();

        QCOMPARE(bench.Messages(), QStringList({"Timeout"}));
        QCOMPARE(bench.LastTitle(), QStringLiteral("Error"));
        QVERIFY(!bench.PortOpen());
        QCOMPARE(w.ConnectProgress->value(), 0);
        ExpectEnabled(w, true, false, true, false);
        QCOMPARE(Read(bench.Path()), QByteArray("earlier backup\r\n"));
    }

    void importIntoAnUnwritableFolderSaysSo() {
        Bench bench;
        frmImpExpEEP& w = bench.W();
        w.Connect->click();
        bench.Dialogs.FileAnswers << QStringLiteral("/nonexistent-folder/KV-9052R_EEP.ini");
        w.cmdImportToIni->click();

        QCOMPARE(bench.Messages().size(), 1);
        QVERIFY(bench.Messages().first().startsWith(
            "Can't write the backup file /nonexistent-folder/KV-9052R_EEP.ini."));
        QCOMPARE(bench.LastTitle(), QStringLiteral("Error"));
        QVERIFY(bench.PortOpen());
        ExpectEnabled(w, false, true, true, true);
        QVERIFY(bench.Gateway.LinesReceived().isEmpty());
    }

    void anotherControllerIsRefused() {
        Bench bench(sim::ControllerModel::Klt400);
        frmImpExpEEP& w = bench.W();
        w.Connect->click();
        bench.Dialogs.FileAnswers << bench.Path();
        w.cmdImportToIni->click();
        QCOMPARE(bench.Messages(), QStringList({"This modules is not 5308RTD!"}));
        QCOMPARE(bench.LastTitle(), QStringLiteral("Error"));
        QVERIFY(!bench.PortOpen());
        QVERIFY(!bench.Gateway.LinesReceived().contains("use eeprom"));
        QVERIFY(!QFile::exists(bench.Path()));
    }

    void exportWritesTheGatewayAndKeepsThePortOpen() {
        Bench bench;
        Write(bench.Path(), BackupFile::Encode(sim::FactoryImage()));
        frmImpExpEEP& w = bench.W();
        w.Connect->click();
        bench.Dialogs.FileAnswers << bench.Path();
        w.cmdExportToEEP->click();

        QCOMPARE(bench.Messages(), QStringList({"Export to KV-9052R's EEPROM finished."}));
        QCOMPARE(bench.LastTitle(), QString());
        QVERIFY(bench.PortOpen());
        ExpectEnabled(w, false, true, false, true);
        QCOMPARE(bench.Gateway.Console.Eeprom.Blocks[8], sim::FactoryImage().Blocks[8]);
        QCOMPARE(bench.Link.ReplyTimeoutMs, int16_t(200));
    }

    void exportOfAFileThatIsNoBackupClosesThePort() {
        Bench bench;
        Write(bench.Path(), "[Config_EEPROM]\r\nFileType=Something else\r\n");
        frmImpExpEEP& w = bench.W();
        w.Connect->click();
        bench.Dialogs.FileAnswers << bench.Path();
        w.cmdExportToEEP->click();

        QCOMPARE(bench.Messages(), QStringList({"File Data Type Error"}));
        QCOMPARE(bench.LastTitle(), QStringLiteral("Error"));
        QVERIFY(!bench.PortOpen());
        ExpectEnabled(w, true, false, true, false);
        QVERIFY(bench.Gateway.LinesReceived().isEmpty());
    }

    void cancellingTheExportDialogResetsTheWindow() {
        Bench bench;
        frmImpExpEEP& w = bench.W();
        w.Connect->click();
        w.cmdExportToEEP->click();
        QVERIFY(bench.Messages().isEmpty());
        QVERIFY(!bench.PortOpen());
        ExpectEnabled(w, true, false, true, false);
    }

    void aRunningTransferLocksTheWindow() {
        Bench bench;
        frmImpExpEEP& w = bench.W();
        w.show();
        w.Connect->click();
        bool checked = false;
        bench.Gateway.Pump.EachYield = [&] {
            if (checked || bench.Gateway.Console.LinesReceived() < 20) return;
            checked = true;
            QVERIFY(!w.Connect->isEnabled() && !w.cmdDisconnect->isEnabled());
            QVERIFY(!w.cmdImportToIni->isEnabled() && !w.Command1->isEnabled());
            QVERIFY(!w.ComPort->isEnabled());
            QVERIFY(!w.close());
            QVERIFY(bench.PortOpen());
        };
        bench.Dialogs.FileAnswers << bench.Path();
        w.cmdImportToIni->click();
        QVERIFY(checked);
        QCOMPARE(bench.Messages(), QStringList({"Import to ini file finished."}));
    }

    void exitClosesThePortAndReportsClosed() {
        Bench bench;
        frmImpExpEEP& w = bench.W();
        w.show();
        QSignalSpy closed(&w, &frmImpExpEEP::closed);
        w.Connect->click();
        w.Command1->click();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!bench.PortOpen());
        QVERIFY(!w.isVisible());
    }
};

}  // namespace kv

QTEST_MAIN(kv::ImpExpEepTest)
#include "ImpExpEepTest.moc"
