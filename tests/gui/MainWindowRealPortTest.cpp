// The main window as the program builds it: QSerialPort, the steady clock and the Qt event
// pump, reading kv9052r-gateway-sim over a pseudo-terminal published as COM 5.

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "session/SerialDevices.h"
#include "support/RecordingDialogs.h"
#include "support/SessionOnGateway.h"
#include "ui/common/Session.h"
#include "ui/main/Main_F.h"

namespace kv {
namespace {

constexpr int GatewayCom = 5;

class MainWindowRealPortTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsTheGatewayWhileTheWindowKeepsRunning() {
        QTemporaryDir portFolder;
        qputenv("KV9052R_PORT_DIR", portFolder.path().toLocal8Bit());
        QProcess simulator;
        simulator.setProcessChannelMode(QProcess::MergedChannels);
        simulator.start(QCoreApplication::applicationDirPath() + "/kv9052r-gateway-sim",
                        {"--demo", "--com", QString::number(GatewayCom)});
        QVERIFY2(simulator.waitForStarted(), "kv9052r-gateway-sim is not built");
        while (!simulator.canReadLine()) QVERIFY(simulator.waitForReadyRead(10000));
        const QByteArray line = simulator.readLine();
        QVERIFY2(line.startsWith("Listening on"), line.constData());

        GatewayConfig config;
        GatewaySession link{MakeSerialDevices};
        test::RecordingDialogs dialogs;
        Session session{config, link, dialogs};
        Main_F window(session);
        window.show();
        int ticks = 0;
        QTimer heartbeat;
        connect(&heartbeat, &QTimer::timeout, [&] { ++ticks; });
        heartbeat.start(10);
        window.findChild<QComboBox*>("ComPort")->setCurrentIndex(GatewayCom - 1);
        QTest::mouseClick(window.findChild<QWidget*>("Connect"), Qt::LeftButton);
        QVERIFY(test::WaitUntilIdle(link));

        QCOMPARE(dialogs.MessageTexts(), QStringList());
        QVERIFY(window.Connected());
        QCOMPARE(window.findChild<QLineEdit*>("FirmwareVer")->text(), QString("1.03-2009/07/15"));
        QVERIFY2(ticks > 5, "the event loop did not run during the read-out");
        simulator.terminate();
        simulator.waitForFinished();
    }
};

}  // namespace
}  // namespace kv

QTEST_MAIN(kv::MainWindowRealPortTest)
#include "MainWindowRealPortTest.moc"
