// The EEPROM copy window against the virtual gateway: its states, its messages and what
// it leaves in the file and the gateway.

#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "MainWindowHarness.h"
#include "backup/BackupFile.h"
#include "ui/backup/frmImpExpEEP.h"

namespace kv {

class ImpExpEepTest : public QObject {
    Q_OBJECT

private:
    struct Bench : test::WindowRig<frmImpExpEEP> {
        explicit Bench(sim::ControllerModel model = sim::ControllerModel::Q5308RT)
            : WindowRig(model) {
            Open();
        }
        // The file dialog answers with a file of the test's own folder.
        void PressChoosingFile(const QString& button) {
            Dialogs.FileAnswers << Folder.filePath("KV-9052R_EEP.ini");
            Press(button);
        }
        QTemporaryDir Folder;
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

private Q_SLOTS:
    void openAndCloseCom() {
        Bench bench;
        frmImpExpEEP& w = *bench.Window;
        ExpectEnabled(w, true, false, true, false);
        w.ComPort->setCurrentIndex(2);
        bench.Press("Connect");
        QCOMPARE(bench.Gateway.Port.SelectedPort(), 3);
        ExpectEnabled(w, false, true, true, true);
        bench.Press("cmdDisconnect");
        QVERIFY(!bench.Gateway.Port.IsOpen());
        ExpectEnabled(w, true, false, true, false);

        // Choosing another port closes the open one; nothing may be sent on it then.
        bench.Press("Connect");
        w.ComPort->setCurrentIndex(3);
        QVERIFY(!bench.Gateway.Port.IsOpen());
        ExpectEnabled(w, true, false, true, false);

        bench.Gateway.Port.NextOpenResult = {PortOpenError::InUse, {}};
        bench.Press("Connect");
        QCOMPARE(bench.Dialogs.MessageTexts(), QStringList({"COM 4 has been occupied"}));
        ExpectEnabled(w, true, false, true, false);
    }

    // The bytes moved are EepromCopyTest's; here what the window shows around them.
    void importThenExportKeepThePortOpen() {
        Bench bench;
        frmImpExpEEP& w = *bench.Window;
        bench.Press("Connect");
        bench.Press("cmdImportToIni");  // the file dialog cancelled: the port stays open
        ExpectEnabled(w, false, true, true, true);
        bench.PressChoosingFile("cmdImportToIni");
        QCOMPARE(bench.Dialogs.MessageTexts(), QStringList({"Import to ini file finished."}));
        ExpectEnabled(w, false, true, false, true);
        QCOMPARE(w.ConnectProgress->value(), CopyProgressMaximum);

        bench.Gateway.Console.Eeprom = sim::FactoryImage();
        bench.PressChoosingFile("cmdExportToEEP");
        QCOMPARE(bench.Dialogs.MessageTexts().last(),
                 QString("Export to KV-9052R's EEPROM finished."));
        QVERIFY(bench.Gateway.Port.IsOpen());
        QCOMPARE(bench.Gateway.Console.Eeprom, sim::DemoImage());

        bench.Press("cmdExportToEEP");  // the file dialog cancelled: the window starts over
        QVERIFY(!bench.Gateway.Port.IsOpen());
        ExpectEnabled(w, true, false, true, false);
    }

    // Why a copy fails is EepromCopyTest's; here the window closes the port and says why.
    void failuresCloseThePortAndSayWhy() {
        const struct {
            sim::ControllerModel model;
            int silentAfterLines;
            QString message;
        } rows[] = {{sim::ControllerModel::Q5308RT, 200, "Timeout"},
                    {sim::ControllerModel::Klt400, -1, "This modules is not 5308RTD!"}};
        for (const auto& r : rows) {
            Bench bench(r.model);
            bench.Press("Connect");
            bench.Gateway.Console.Faults.StopAfterLines = r.silentAfterLines;
            bench.PressChoosingFile("cmdImportToIni");
            QCOMPARE(bench.Dialogs.MessageTexts(), QStringList{r.message});
            QCOMPARE(bench.Dialogs.Messages.last().Title, QStringLiteral("Error"));
            QVERIFY(!bench.Gateway.Port.IsOpen());
            QCOMPARE(bench.Window->ConnectProgress->value(), 0);
            ExpectEnabled(*bench.Window, true, false, true, false);
        }
    }

    void aRunningTransferLocksTheWindow() {
        Bench bench;
        frmImpExpEEP& w = *bench.Window;
        bench.Press("Connect");
        bool checked = false;
        QObject::connect(w.ConnectProgress, &QProgressBar::valueChanged, [&](int value) {
            if (checked || value < 20) return;
            checked = true;
            QVERIFY(!w.Connect->isEnabled() && !w.cmdDisconnect->isEnabled());
            QVERIFY(!w.cmdImportToIni->isEnabled() && !w.Command1->isEnabled());
            QVERIFY(!w.ComPort->isEnabled());
            QVERIFY(!w.close());
        });
        bench.PressChoosingFile("cmdImportToIni");
        QVERIFY(checked);
        QCOMPARE(bench.Dialogs.MessageTexts(), QStringList({"Import to ini file finished."}));
    }

    void exitClosesThePortAndReportsClosed() {
        Bench bench;
        QSignalSpy closed(bench.Window.get(), &frmImpExpEEP::closed);
        bench.Press("Connect");
        bench.Press("Command1");
        QCOMPARE(closed.count(), 1);
        QVERIFY(!bench.Gateway.Port.IsOpen());
    }
};

}  // namespace kv

QTEST_MAIN(kv::ImpExpEepTest)
#include "ImpExpEepTest.moc"
