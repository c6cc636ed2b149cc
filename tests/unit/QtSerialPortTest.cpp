#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <optional>

#include "console/PortOpening.h"
#include "platform/QtSerialPort.h"
#include "platform/SteadyClock.h"
#include "sim/PseudoTerminal.h"
#include "support/CoreApplication.h"
#include "support/TestFiles.h"

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
        port_.emplace(terminal_->SlavePath(), terminal_->SlavePath());
    }
    void Send(const QByteArray& bytes) {
        ASSERT_EQ(::write(terminal_->MasterFd(), bytes.constData(), bytes.size()), bytes.size());
    }
    // What the terminal receives within a second, until `expected` bytes have.
    QByteArray FromTerminal(int expected) {
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
        port_->WaitForData(maxWait);
        return clock_.Microseconds() - start;
    }

    std::optional<sim::PseudoTerminal> terminal_;
    std::optional<QtSerialPort> port_;
    SteadyClock clock_;
};

TEST_F(QtSerialPortTest, ExchangesBytesWithTheDeviceInBothDirections) {
    ASSERT_TRUE(port_->Open().ok());
    port_->Write("ip\r");
    EXPECT_EQ(port_->BytesToSend(), 0);
    EXPECT_EQ(FromTerminal(3), "ip\r");

    EXPECT_GE(WaitedUs(5ms), 4000u) << "an idle wait lasts its time";
    // Bytes that crossed the terminal while no events ran are counted, and can be dropped.
    Send("-->");
    const uint32_t start = clock_.Milliseconds();
    while (port_->BytesWaiting() < 3 && clock_.Milliseconds() - start < 1000) clock_.Sleep(1ms);
    EXPECT_EQ(port_->BytesWaiting(), 3);
    port_->ClearReceiveBuffer();
    EXPECT_EQ(port_->BytesWaiting(), 0);
    Send(">");
    EXPECT_LT(WaitedUs(2s), 1000000u) << "a wait ends when data comes";
    EXPECT_EQ(port_->ReadAll(), ">");
}

TEST_F(QtSerialPortTest, DeviceWithoutAccessRightsSaysHowToGetThem) {
    if (geteuid() == 0) GTEST_SKIP() << "access rights do not bind the superuser";
    QTemporaryDir folder;
    const QString device = folder.filePath(QStringLiteral("ttyLocked"));
    ASSERT_TRUE(test::WriteAll(device, {}));
    // Only the group may use it, as with a serial device of the "dialout" group.
    ASSERT_TRUE(QFile::setPermissions(device, QFileDevice::ReadGroup | QFileDevice::WriteGroup));

    port_.emplace(device, device);
    const PortOpenResult result = port_->Open();
    EXPECT_EQ(result.Error, PortOpenError::Other);
    EXPECT_TRUE(result.Text.contains(u"add your user to the group")) << result.Text.toStdString();
    EXPECT_TRUE(result.Text.contains(u"log in again"));
}

// With a NUL the lock file's name would be cut short by the system (see QtSerialPort::Open).
TEST_F(QtSerialPortTest, ADeviceNameWithAControlCharacterIsRefusedBeforeAnyLockIsTaken) {
    port_.emplace(terminal_->SlavePath() + QChar(0), QString());
    EXPECT_EQ(port_->Open().Text,
              "The device's name holds a control character (U+0000); no device's name does.");
}

TEST_F(QtSerialPortTest, UnpluggedDeviceClosesThePortAndReadsNothing) {
    ASSERT_TRUE(port_->Open().ok());
    terminal_.reset();  // like pulling the USB adapter: the terminal's other end goes away
    for (int turn = 0; turn < 10 && port_->IsOpen(); ++turn) {
        port_->WaitForData(5ms);
        port_->BytesWaiting();
    }
    EXPECT_FALSE(port_->IsOpen());
    EXPECT_EQ(port_->BytesWaiting(), 0);
    EXPECT_TRUE(port_->ReadAll().isEmpty());
    port_->Write("quit\r");
    EXPECT_EQ(port_->BytesToSend(), 0);
    // The dead device no longer ends a wait at once: the wait lasts its time again.
    EXPECT_GE(WaitedUs(5ms), 4000u);
}

// What a port that did not open makes the windows and the command line say, and what it
// does to the status text.
TEST(PortFailureReport, TextTitleAndStatusOfEachFailure) {
    const struct {
        PortOpenError Error;
        QString SystemText;
        QString Text, Title;
        std::optional<QString> State;
    } rows[] = {
        {PortOpenError::InUse, "", "COM 3 has been occupied", "Error", "COM 3 has been occupied"},
        {PortOpenError::Other, "Permission denied", "Permission denied", "", QString()},
        {PortOpenError::Other, "", "Can't open COM 3!", "Error", std::nullopt},
        {PortOpenError::NotOpened, "", "Can't open COM 3!", "Error", std::nullopt},
    };
    for (const auto& row : rows) {
        const FailureReport report =
            ReportPortFailure({row.Error, row.SystemText}, 3, ReadOutPortTitles);
        EXPECT_EQ(report.Text, row.Text);
        EXPECT_EQ(report.Title, row.Title);
        EXPECT_EQ(report.CommunicationState, row.State) << row.Text.toStdString();
        // The box's icon: a failure, unless the system's words come under the program's title.
        EXPECT_EQ(report.Kind, row.Title.isEmpty() ? MessageKind::Information : MessageKind::Error);
    }
}

}  // namespace
}  // namespace kv
