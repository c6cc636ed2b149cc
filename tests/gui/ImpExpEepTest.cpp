// The EEPROM copy window driven as a user would against the virtual gateway: its states,
// its messages, the backup it keeps before an export and what it leaves in the file and the
// gateway.

#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "MainWindowHarness.h"
#include "sim/DemoImages.h"
#include "support/TestFiles.h"
#include "ui/backup/frmImpExpEEP.h"

namespace kv {
namespace {

// The EEPROM copy window on the virtual gateway, its files and backups in a folder of the
// test.
struct Bench : test::WindowRig<frmImpExpEEP> {
    Bench() {
        Session.BackupFolder = Folder.filePath("backups");
        Open();
    }
    // The file dialog answers with a file of the test's own folder.
    void PressChoosingFile(const QString& button) {
        Dialogs.FileAnswers << Folder.filePath("KV-9052R_EEP.ini");
        Press(button);
    }
    // Enabled: Open COM, Close COM, port list, Import and Export (the states:
    // CopyWindowTest), and Cancel, only while a transfer runs.
    QString Look() const {
        return Enabled({"Connect", "cmdDisconnect", "ComPort", "cmdImportToIni", "cmdExportToEEP",
                        "CancelTransfer"});
    }
    QTemporaryDir Folder;
};

}  // namespace

class ImpExpEepTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Opening and closing the port; the bytes moved are EepromCopyTest's, here what the
    // window shows around them, locked while a transfer runs.
    void openCloseImportThenExport() {
        Bench bench;
        frmImpExpEEP& w = *bench.Window;
        QSignalSpy closed(&w, &frmImpExpEEP::closed);
        QCOMPARE(bench.Look(), "101000");
        w.ComPort->setCurrentIndex(2);
        bench.Press("Connect");
        QCOMPARE(bench.Gateway.Port.SelectedPort(), 3);
        QCOMPARE(bench.Look(), "011110");
        bench.Press("cmdDisconnect");
        QVERIFY(!bench.Gateway.Port.IsOpen());
        QCOMPARE(bench.Look(), "101000");

        // Choosing another port closes the open one; nothing may be sent on it then.
        bench.Press("Connect");
        w.ComPort->setCurrentIndex(3);
        QVERIFY(!bench.Gateway.Port.IsOpen());
        bench.Gateway.Port.NextOpenResult = {PortOpenError::InUse, {}};
        bench.Press("Connect");
        QCOMPARE(bench.Dialogs.MessageTexts(), QStringList({"COM 4 has been occupied"}));
        bench.Dialogs.Messages.clear();

        bench.Press("Connect");
        bench.Press("cmdImportToIni");  // the file dialog cancelled: the port stays open
        QCOMPARE(bench.Look(), "011110");
        bool checked = false;
        QObject::connect(w.ConnectProgress, &QProgressBar::valueChanged, [&](int value) {
            if (checked || value < 20) return;
            checked = true;
            QCOMPARE(bench.Look(), "000001");
            QVERIFY(!bench.Find("Command1")->isEnabled());
            QVERIFY(!w.close());
        });
        bench.PressChoosingFile("cmdImportToIni");
        QVERIFY(checked);
        QCOMPARE(bench.Dialogs.MessageTexts(),
                 QStringList({"Import to ini file finished.\nThe Ethernet settings are not part of "
                              "an EEPROM backup; the gateway holds IP address 192.168.255.1, mask "
                              "255.255.255.0, gateway 192.168.0.1."}));
        QCOMPARE(bench.Look(), "010110");
        QCOMPARE(w.ConnectProgress->value(), CopyProgressMaximum);

        bench.Gateway.Console.Eeprom = sim::FactoryImage();
        bench.PressChoosingFile("cmdExportToEEP");
        QVERIFY(bench.Dialogs.MessageTexts().last().startsWith(
            "Export to KV-9052R's EEPROM finished.\nThe Ethernet settings"));
        QVERIFY(bench.Gateway.Port.IsOpen());
        QCOMPARE(bench.Gateway.Console.Eeprom, sim::DemoImage());
        // The gateway's configuration was kept before the export, said in the window.
        QCOMPARE(bench.Find<QLabel>("BackupNote")->text(),
                 "The gateway's configuration was kept in " +
                     test::FirstFile(bench.Session.BackupFolder));

        bench.Press("cmdExportToEEP");  // the file dialog cancelled: the window starts over
        QVERIFY(!bench.Gateway.Port.IsOpen());
        // Exit closes the port.
        bench.Press("Connect");
        bench.Press("Command1");
        QCOMPARE(closed.count(), 1);
        QVERIFY(!bench.Gateway.Port.IsOpen());
    }

    // Why a copy fails is EepromCopyTest's, its message CopyWindowTest's; here the window
    // closes the port and says why.
    void aFailureClosesThePortAndSaysWhy() {
        Bench bench;
        bench.Press("Connect");
        bench.Gateway.Console.Faults.StopAfterLines = 200;
        bench.PressChoosingFile("cmdImportToIni");
        QCOMPARE(bench.Dialogs.MessageTexts(), QStringList{"Timeout"});
        QCOMPARE(bench.Dialogs.Messages.last().Title, QStringLiteral("Error"));
        QVERIFY(!bench.Gateway.Port.IsOpen());
        QCOMPARE(bench.Window->ConnectProgress->value(), 0);
        QCOMPARE(bench.Look(), "101000");
    }
};

}  // namespace kv

QTEST_MAIN(kv::ImpExpEepTest)
#include "ImpExpEepTest.moc"
