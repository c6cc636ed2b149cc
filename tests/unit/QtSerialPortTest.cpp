#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <thread>

#include "platform/QtSerialPort.h"
#include "platform/SteadyClock.h"

namespace kv {
namespace {

using namespace std::chrono_literals;

// The far end of a pseudo-terminal: the test plays the gateway on the master side while
// QtSerialPort opens the terminal like any serial device.
class PseudoTerminal {
public:
    PseudoTerminal() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0)
            device_ = QString::fromLocal8Bit(ptsname(master_));
    }
    ~PseudoTerminal() { Hangup(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const QString& Device() const { return device_; }
    void Send(const QByteArray& bytes) {
        ASSERT_EQ(::write(master_, bytes.constData(), size_t(bytes.size())), bytes.size());
    }
    QByteArray Received() {
        char buffer[256];
        const ssize_t count = ::read(master_, buffer, sizeof buffer);
        return count > 0 ? QByteArray(buffer, count) : QByteArray();
    }
    // Like pulling the USB adapter: the terminal's other end goes away.
    void Hangup() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    QString device_;
};

// QSerialPort's error signal needs an application object; other tests in
// this program may bring their own, so one is made only when none exists.
class QtSerialPortTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QCoreApplication::instance() == nullptr)
            application_ = std::make_unique<QCoreApplication>(argc_, argv_);
    }
    static void TearDownTestSuite() { application_.reset(); }

    void SetUp() override { ASSERT_FALSE(terminal_.Device().isEmpty()); }

    // Lets events run until the bytes expected have arrived or a second passed.
    template <typename Wait, typename Read>
    QByteArray Collect(int expected, Wait wait, Read read) {
        QByteArray arrived;
        const uint32_t start = clock_.Milliseconds();
        while (arrived.size() < expected && clock_.Milliseconds() - start < 1000) {
            wait();
            arrived += read();
        }
        return arrived;
    }
    QByteArray ReadFromPort(QtSerialPort& port, int expected) {
        return Collect(
            expected, [&] { port.WaitForData(10ms); }, [&] { return port.ReadAll(); });
    }
    QByteArray ReadFromTerminal(int expected) {
        return Collect(
            expected, [&] { clock_.Sleep(1ms); }, [&] { return terminal_.Received(); });
    }

    PseudoTerminal terminal_;
    SteadyClock clock_;

private:
    static inline int argc_ = 1;
    static inline char programName_[] = "core_tests";
    static inline char* argv_[] = {programName_, nullptr};
    static inline std::unique_ptr<QCoreApplication> application_;
};

TEST_F(QtSerialPortTest, ExchangesBytesWithTheDeviceInBothDirections) {
    QtSerialPort port;
    port.SelectDevice(terminal_.Device());
    ASSERT_TRUE(port.Open().ok());
    port.Write("ip\r");
    EXPECT_EQ(port.BytesToSend(), 0);
    EXPECT_EQ(ReadFromTerminal(3), "ip\r");
    terminal_.Send("ip=10.0.0.5\r\nq5308RT>");
    EXPECT_EQ(ReadFromPort(port, 20), "ip=10.0.0.5\r\nq5308RT>");

    // Bytes that crossed the terminal while no events ran are counted, and can be dropped.
    terminal_.Send("-->");
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(port.BytesWaiting(), 3);
    port.ClearReceiveBuffer();
    EXPECT_EQ(port.BytesWaiting(), 0);
    terminal_.Send(">");
    EXPECT_EQ(ReadFromPort(port, 1), ">");
    port.Close();
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(QtSerialPortTest, TellsAPortHeldByAnotherOpenerFromAMissingDevice) {
    QtSerialPort holder;
    holder.SelectDevice(terminal_.Device());
    ASSERT_TRUE(holder.Open().ok());

    QtSerialPort second;
    second.SelectDevice(terminal_.Device());
    EXPECT_EQ(second.Open().Error, PortOpenError::InUse);
    EXPECT_FALSE(second.IsOpen());

    holder.Close();
    EXPECT_TRUE(second.Open().ok());

    QtSerialPort missing;
    missing.SelectDevice(QStringLiteral("/dev/kv9052r-no-such-device"));
    EXPECT_EQ(missing.Open().Error, PortOpenError::NotOpened);
}

TEST_F(QtSerialPortTest, ComNumberOpensTheLinkedDeviceOrNothing) {
    QTemporaryDir folder;
    qputenv("KV9052R_PORT_DIR", QFile::encodeName(folder.path()));
    ASSERT_TRUE(QFile::link(terminal_.Device(), folder.filePath(QStringLiteral("COM4"))));
    QtSerialPort port;
    port.SelectPort(4);
    const PortOpenResult result = port.Open();
    QtSerialPort nothing;
    nothing.SelectPort(16);  // no machine running these tests has sixteen serial ports
    const PortOpenResult nothingResult = nothing.Open();
    qunsetenv("KV9052R_PORT_DIR");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(nothingResult.Error, PortOpenError::NotOpened);

    // The link and the device are one port: the device's own name finds it held.
    QtSerialPort byDeviceName;
    byDeviceName.SelectDevice(terminal_.Device());
    EXPECT_EQ(byDeviceName.Open().Error, PortOpenError::InUse);
}

TEST_F(QtSerialPortTest, DeviceWithoutAccessRightsSaysHowToGetThem) {
    if (geteuid() == 0) GTEST_SKIP() << "access rights do not bind the superuser";
    QTemporaryDir folder;
    const QString device = folder.filePath(QStringLiteral("ttyLocked"));
    QFile file(device);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    // Only the group may use it, as with a serial device of the "dialout" group.
    ASSERT_TRUE(file.setPermissions(QFileDevice::ReadGroup | QFileDevice::WriteGroup));

    QtSerialPort port;
    port.SelectDevice(device);
    const PortOpenResult result = port.Open();
    EXPECT_EQ(result.Error, PortOpenError::Other);
    EXPECT_TRUE(result.Text.contains(u"add your user to the group")) << result.Text.toStdString();
    EXPECT_TRUE(result.Text.contains(u"log in again"));
}

TEST_F(QtSerialPortTest, UnpluggedDeviceClosesThePortAndReadsNothing) {
    QtSerialPort port;
    port.SelectDevice(terminal_.Device());
    ASSERT_TRUE(port.Open().ok());

    terminal_.Hangup();
    for (int turn = 0; turn < 10 && port.IsOpen(); ++turn) {
        port.WaitForData(5ms);
        port.BytesWaiting();
    }
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.BytesWaiting(), 0);
    EXPECT_TRUE(port.ReadAll().isEmpty());
    port.Write("quit\r");
    EXPECT_EQ(port.BytesToSend(), 0);

    // The dead device no longer ends a wait at once: the wait lasts its time again.
    const uint64_t start = clock_.Microseconds();
    port.WaitForData(5ms);
    EXPECT_GE(clock_.Microseconds() - start, 4000u);
}

// The real wait is measured in real time here, kept short; everything else uses fake time.
TEST_F(QtSerialPortTest, WaitLastsItsTimeWhenIdleAndEndsForIncomingData) {
    QtSerialPort port;
    port.SelectDevice(terminal_.Device());
    ASSERT_TRUE(port.Open().ok());

    uint64_t start = clock_.Microseconds();
    port.WaitForData(5ms);
    const uint64_t idleUs = clock_.Microseconds() - start;
    EXPECT_GE(idleUs, 4000u);
    EXPECT_LT(idleUs, 500000u);

    std::thread gateway([this] {
        std::this_thread::sleep_for(20ms);
        terminal_.Send(">");
    });
    start = clock_.Microseconds();
    uint64_t waitedUs = 0;
    while (port.BytesWaiting() == 0 && waitedUs < 5000000) {
        port.WaitForData(2s);
        waitedUs = clock_.Microseconds() - start;
    }
    gateway.join();
    EXPECT_EQ(port.ReadAll(), ">");
    EXPECT_LT(waitedUs, 1000000u);
}

}  // namespace
}  // namespace kv
