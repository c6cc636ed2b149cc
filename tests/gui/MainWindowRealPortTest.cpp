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

private:
    QTemporaryDir portFolder;
    QProcess simulator;

    GatewayConfig config;
    GatewaySession link{MakeSerialDevices};
    test::RecordingDialogs dialogs;
    Session session{config, link, dialogs};
    std::unique_ptr<Main_F> window;

private Q_SLOTS:
    void initTestCase() {
        const QString program = QCoreApplication::applicationDirPath() + "/kv9052r-gateway-sim";
        QVERIFY(portFolder.isValid());
        qputenv("KV9052R_PORT_DIR", portFolder.path().toLocal8Bit());
        simulator.setProcessChannelMode(QProcess::MergedChannels);
        simulator.start(program, {"--demo", "--com", QString::number(GatewayCom)});
        QVERIFY2(simulator.waitForStarted(), "kv9052r-gateway-sim is not built");
        while (!simulator.canReadLine()) QVERIFY(simulator.waitForReadyRead(10000));
        const QByteArray line = simulator.readLine();
        QVERIFY2(line.startsWith("Listening on"), line.constData());
        window = std::make_unique<Main_F>(session);
        window->show();
    }

    void cleanupTestCase() {
        window.reset();
        simulator.terminate();
        simulator.waitForFinished();
    }

    void readsTheGatewayWhileTheWindowKeepsRunning() {
        int ticks = 0;
        QTimer heartbeat;
        connect(&heartbeat, &QTimer::timeout, [&] { ++ticks; });
        heartbeat.start(10);
        window->findChild<QComboBox*>("ComPort")->setCurrentIndex(GatewayCom - 1);
        QTest::mouseClick(window->findChild<QWidget*>("Connect"), Qt::LeftButton);
        QVERIFY(test::WaitUntilIdle(link));

        QCOMPARE(dialogs.MessageTexts(), QStringList());
        QVERIFY(window->Connected());
        QCOMPARE(window->findChild<QLineEdit*>("FirmwareVer")->text(), QString("1.03-2009/07/15"));
        QCOMPARE(config.DeviceNetParams, (DeviceNetParams{5, 2}));
        QVERIFY2(ticks > 5, "the event loop did not run during the read-out");
    }
};

}  // namespace
}  // namespace kv

QTEST_MAIN(kv::MainWindowRealPortTest)
#include "MainWindowRealPortTest.moc"
