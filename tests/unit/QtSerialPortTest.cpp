#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <optional>

#include "platform/QtSerialPort.h"
#include "platform/SteadyClock.h"
#include "sim/PseudoTerminal.h"
#include "support/CoreApplication.h"

namespace kv {
namespace {

using namespace std::chrono_literals;

// The test plays the gateway on the master side of a pseudo-terminal while QtSerialPort
// opens the terminal like any serial device.
class QtSerialPortTest : public testing::Test {
protected:
    static void SetUpTestSuite() { test::EnsureCoreApplication(); }

    void SetUp() override {
        QString error;
        ASSERT_TRUE(terminal_.emplace().Open(error)) << error.toStdString();
        device_ = terminal_->SlavePath();
        port_.SelectDevice(device_);
    }
    void Send(const QByteArray& bytes) {
        ASSERT_EQ(::write(terminal_->MasterFd(), bytes.constData(), bytes.size()), bytes.size());
    }
    // What arrives within a second on either side, until `expected` bytes have.
    QByteArray ReadFromPort(int expected) {
        QByteArray arrived;
        for (const uint32_t start = clock_.Milliseconds();
             arrived.size() < expected && clock_.Milliseconds() - start < 1000;
             arrived += port_.ReadAll())
            port_.WaitForData(10ms);
        return arrived;
    }
    QByteArray ReadFromTerminal(int expected) {
        QByteArray arrived;
        char buffer[256];
        for (const uint32_t start = clock_.Milliseconds();
             arrived.size() < expected && clock_.Milliseconds() - start < 1000; clock_.Sleep(1ms))
            arrived += QByteArray(
                buffer, std::max<ssize_t>(0, ::read(terminal_->MasterFd(), buffer, sizeof buffer)));
        return arrived;
    }
    uint64_t WaitedUs(std::chrono::microseconds maxWait) {
        const uint64_t start = clock_.Microseconds();
        port_.WaitForData(maxWait);
        return clock_.Microseconds() - start;
    }

    std::optional<sim::PseudoTerminal> terminal_;
    QString device_;
    QtSerialPort port_;
    SteadyClock clock_;
};

TEST_F(QtSerialPortTest, ExchangesBytesWithTheDeviceInBothDirections) {
    ASSERT_TRUE(port_.Open().ok());
    port_.Write("ip\r");
    EXPECT_EQ(port_.BytesToSend(), 0);
    EXPECT_EQ(ReadFromTerminal(3), "ip\r");
    Send("ip=10.0.0.5\r\nq5308RT>");
    EXPECT_EQ(ReadFromPort(20), "ip=10.0.0.5\r\nq5308RT>");

    EXPECT_GE(WaitedUs(5ms), 4000u) << "an idle wait lasts its time";
    // Bytes that crossed the terminal while no events ran are counted, and can be dropped.
    Send("-->");
    const uint32_t start = clock_.Milliseconds();
    while (port_.BytesWaiting() < 3 && clock_.Milliseconds() - start < 1000) clock_.Sleep(1ms);
    EXPECT_EQ(port_.BytesWaiting(), 3);
    port_.ClearReceiveBuffer();
    EXPECT_EQ(port_.BytesWaiting(), 0);
    Send(">");
    EXPECT_LT(WaitedUs(2s), 1000000u) << "a wait ends when data comes";
    EXPECT_EQ(port_.ReadAll(), ">");
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

    port_.SelectDevice(device);
    const PortOpenResult result = port_.Open();
    EXPECT_EQ(result.Error, PortOpenError::Other);
    EXPECT_TRUE(result.Text.contains(u"add your user to the group")) << result.Text.toStdString();
    EXPECT_TRUE(result.Text.contains(u"log in again"));
}

TEST_F(QtSerialPortTest, UnpluggedDeviceClosesThePortAndReadsNothing) {
    ASSERT_TRUE(port_.Open().ok());
    terminal_.reset();  // like pulling the USB adapter: the terminal's other end goes away
    for (int turn = 0; turn < 10 && port_.IsOpen(); ++turn) {
        port_.WaitForData(5ms);
        port_.BytesWaiting();
    }
    EXPECT_FALSE(port_.IsOpen());
    EXPECT_EQ(port_.BytesWaiting(), 0);
    EXPECT_TRUE(port_.ReadAll().isEmpty());
    port_.Write("quit\r");
    EXPECT_EQ(port_.BytesToSend(), 0);
    // The dead device no longer ends a wait at once: the wait lasts its time again.
    EXPECT_GE(WaitedUs(5ms), 4000u);
}

}  // namespace
}  // namespace kv
