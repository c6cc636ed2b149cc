// The EEPROM copy window against the virtual gateway: its states, its messages and what
// it leaves in the file and the gateway.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "backup/BackupFile.h"
#include "sim/DemoImages.h"
#include "support/RecordingDialogs.h"
#include "support/SessionOnGateway.h"
#include "support/SimulatedGateway.h"
#include "support/TestFiles.h"
#include "ui/backup/frmImpExpEEP.h"

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
        // Clicks and waits until what the click started on the gateway has ended.
        void Press(QAbstractButton* button) {
            button->click();
            test::WaitUntilIdle(Link);
        }
        QStringList Messages() const { return Dialogs.MessageTexts(); }
        QString LastTitle() const { return Dialogs.Messages.last().Title; }
        bool PortOpen() const { return Gateway.Port.IsOpen(); }
        QString Path(const QString& name = QStringLiteral("KV-9052R_EEP.ini")) const {
            return Folder.filePath(name);
        }

        QTemporaryDir Folder;

        SimulatedGateway Gateway;
        GatewaySession Link{test::DevicesOf(Gateway)};
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

private Q_SLOTS:
    void openAndCloseCom() {
        Bench bench;
        frmImpExpEEP& w = bench.W();
        ExpectEnabled(w, true, false, true, false);
        w.ComPort->setCurrentIndex(2);
        bench.Press(w.Connect);
        QCOMPARE(bench.Gateway.Port.SelectedPort(), 3);
        ExpectEnabled(w, false, true, true, true);
        bench.Press(w.cmdDisconnect);
        QVERIFY(!bench.PortOpen());
        ExpectEnabled(w, true, false, true, false);

        // Choosing another port closes the open one; nothing may be sent on it then.
        bench.Press(w.Connect);
        w.ComPort->setCurrentIndex(3);
        QVERIFY(!bench.PortOpen());
        ExpectEnabled(w, true, false, true, false);

        bench.Gateway.Port.NextOpenResult = {PortOpenError::InUse, {}};
        bench.Press(w.Connect);
        QCOMPARE(bench.Messages(), QStringList({"COM 4 has been occupied"}));
        ExpectEnabled(w, true, false, true, false);
    }

    // The bytes moved are EepromCopyTest's; here what the window shows around them.
    void importThenExportKeepThePortOpen() {
        Bench bench;
        frmImpExpEEP& w = bench.W();
        bench.Press(w.Connect);
        bench.Dialogs.FileAnswers << bench.Path();
        bench.Press(w.cmdImportToIni);
        QCOMPARE(bench.Messages(), QStringList({"Import to ini file finished."}));
        ExpectEnabled(w, false, true, false, true);
        QCOMPARE(w.ConnectProgress->value(), CopyProgressMaximum);

        bench.Gateway.Console.Eeprom = sim::FactoryImage();
        bench.Dialogs.FileAnswers << bench.Path();
        bench.Press(w.cmdExportToEEP);
        QCOMPARE(bench.Messages().last(), QString("Export to KV-9052R's EEPROM finished."));
        QVERIFY(bench.PortOpen());
        QCOMPARE(bench.Gateway.Console.Eeprom, sim::DemoImage());

        bench.Press(w.cmdExportToEEP);  // the file dialog cancelled: the window starts over
        QVERIFY(!bench.PortOpen());
        ExpectEnabled(w, true, false, true, false);
    }

    void failuresCloseThePortAndSayWhy() {
        const auto timeout = [](Bench& bench) {
            bench.Gateway.Console.Faults.StopAfterLines = 200;
            bench.Press(bench.W().cmdImportToIni);
        };
        const auto anotherController = [](Bench& bench) { bench.Press(bench.W().cmdImportToIni); };
        const struct {
            std::function<void(Bench&)> run;
            sim::ControllerModel model;
            QString message;
        } cases[] = {
            {timeout, sim::ControllerModel::Q5308RT, "Timeout"},
            {anotherController, sim::ControllerModel::Klt400, "This modules is not 5308RTD!"}};
        for (const auto& c : cases) {
            Bench bench(c.model);
            bench.Press(bench.W().Connect);
            bench.Dialogs.FileAnswers << bench.Path();
            c.run(bench);
            QCOMPARE(bench.Messages(), QStringList{c.message});
            QCOMPARE(bench.LastTitle(), QStringLiteral("Error"));
            QVERIFY(!bench.PortOpen());
            QCOMPARE(bench.W().ConnectProgress->value(), 0);
            ExpectEnabled(bench.W(), true, false, true, false);
        }
    }

    void aRunningTransferLocksTheWindow() {
        Bench bench;
        frmImpExpEEP& w = bench.W();
        w.show();
        bench.Press(w.Connect);
        bool checked = false;
        QObject::connect(w.ConnectProgress, &QProgressBar::valueChanged, [&](int value) {
            if (checked || value < 20) return;
            checked = true;
            QVERIFY(!w.Connect->isEnabled() && !w.cmdDisconnect->isEnabled());
            QVERIFY(!w.cmdImportToIni->isEnabled() && !w.Command1->isEnabled());
            QVERIFY(!w.ComPort->isEnabled());
            QVERIFY(!w.close());
        });
        bench.Dialogs.FileAnswers << bench.Path();
        bench.Press(w.cmdImportToIni);
        QVERIFY(checked);
        QCOMPARE(bench.Messages(), QStringList({"Import to ini file finished."}));
    }

    void exitClosesThePortAndReportsClosed() {
        Bench bench;
        bench.W().show();
        QSignalSpy closed(&bench.W(), &frmImpExpEEP::closed);
        bench.Press(bench.W().Connect);
        bench.Press(bench.W().Command1);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!bench.PortOpen());
    }
};

}  // namespace kv

QTEST_MAIN(kv::ImpExpEepTest)
#include "ImpExpEepTest.moc"
