#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/PortIdentity.h"
#include "platform/PortNaming.h"
#include "sim/ComLink.h"
#include "support/TestFiles.h"

namespace kv {
namespace {

// Two ports present, in COM order, as a machine with one USB adapter and one built-in port.
const QStringList PresentPorts = {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyS0")};
const QString SomeDevice = QStringLiteral("/dev/null");  // a character device on every machine

// The port folder and the configuration folder (for assignments) are the test's own.
class PortNamingTest : public testing::Test {
protected:
    PortNamingTest() : oldConfigHome_(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("KV9052R_PORT_DIR", QFile::encodeName(folder_.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder_.filePath("config")));
    }
    ~PortNamingTest() override {
        qunsetenv("KV9052R_PORT_DIR");
        qputenv("XDG_CONFIG_HOME", oldConfigHome_);  // empty counts as none
    }
    void Link(int number, const QString& target) {
        ASSERT_TRUE(QFile::link(target, ComLinkPath(number)));
    }

    QByteArray oldConfigHome_;
    QTemporaryDir folder_;
};

// An empty variable counts as none.
TEST_F(PortNamingTest, PortFolderIsThePortVariableThenTheRuntimeFolderThenTheTemporaryOne) {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const struct {
        const char* PortDir;
        const char* RuntimeDir;
        QString Folder;
    } rows[] = {
        {"/somewhere/ports", "/run/user/1000", "/somewhere/ports"},
        {"", "/run/user/1000", "/run/user/1000/kv9052r"},
        {"", "", QDir::tempPath() + "/kv9052r-" + QString::number(getuid())},
    };
    for (const auto& row : rows) {
        qputenv("KV9052R_PORT_DIR", row.PortDir);
        qputenv("XDG_RUNTIME_DIR", row.RuntimeDir);
        EXPECT_EQ(PortFolder(), row.Folder);
        EXPECT_EQ(ComLinkPath(3), row.Folder + "/COM3");
    }
    qputenv("XDG_RUNTIME_DIR", runtime);
}

// An unplugged adapter leaves its link behind: COM n must not move to another device. A link
// resolves to the device it finally points to, so that one device has one lock whichever
// name opened it.
TEST_F(PortNamingTest, AnAssignmentComesFirstThenAPortFolderLinkThenThePortsPresent) {
    const QString assigned = QStringLiteral("/dev/zero");
    QString error;
    ASSERT_TRUE(AssignComPort(1, assigned, error)) << error.toStdString();
    ASSERT_TRUE(AssignComPort(3, assigned, error, 700)) << error.toStdString();
    EXPECT_EQ(AssignmentOf(3).ReplyTimeoutMs + AssignmentOf(1).ReplyTimeoutMs, 700);
    EXPECT_FALSE(AssignComPort(4, QStringLiteral("/dev/kv9052r-gone"), error));
    const QString hop = folder_.filePath(QStringLiteral("gateway"));
    ASSERT_TRUE(QFile::link(SomeDevice, hop));
    for (const int number : {1, 2, 17}) Link(number, SomeDevice);
    Link(7, hop);
    Link(8, QStringLiteral("/dev/kv9052r-gone"));
    Link(9, folder_.path());  // not a device
    const struct {
        int Number;
        QString Device;
        ComSource Source;
    } expected[] = {
        {1, assigned, ComSource::Assignment},    // over a link
        {2, SomeDevice, ComSource::PortFolder},  // over the second port present
        {3, assigned, ComSource::Assignment},    // where no port is present
        {4, "", ComSource::None},                // two ports present
        {7, SomeDevice, ComSource::PortFolder},
        {8, "", ComSource::BrokenLink},
        {9, "", ComSource::BrokenLink},
        {17, "", ComSource::None},  // only COM 1 to 16 exist
        {0, "", ComSource::None},
    };
    for (const auto& port : expected) {
        const ComResolution resolved = ResolveComPortAndSource(port.Number, PresentPorts);
        EXPECT_EQ(resolved.Device, port.Device) << port.Number;
        EXPECT_EQ(resolved.Source, port.Source) << port.Number;
    }
    ASSERT_TRUE(UnassignComPort(1, error));
    EXPECT_EQ(ResolveComPortAndSource(1, PresentPorts).Source, ComSource::PortFolder);
    ASSERT_TRUE(UnassignComPort(3, error));
    EXPECT_EQ(AssignmentOf(3).ReplyTimeoutMs, 0) << "the time-out goes with the assignment";
    EXPECT_EQ(ResolveComPort(3, PresentPorts + QStringList{"/dev/ttyS1"}), "/dev/ttyS1");
}

// Only the COM n line changes: the user's comments and lines not understood stay. Files
// written by earlier versions (a [General] header, quoted values) read as before.
TEST_F(PortNamingTest, AnAssignmentChangesOnlyItsOwnLineOfThePortsFile) {
    const QByteArray large = "COM1=/dev/zero\n" + QByteArray(1 << 20, '#');
    const struct {
        QByteArray Before;
        int Number;
        QString Device;  // empty: unassign
        QByteArray After;
        QString Error;
    } rows[] = {
        {"# mine\r\n[General]\nCOM1=\"/dev/a,b\"\nodd\n\n[x]\nCOM2=y", 2, SomeDevice,
         "# mine\r\n[General]\nCOM1=\"/dev/a,b\"\nodd\nCOM2=/dev/null\n\n[x]\nCOM2=y\n", ""},
        {"COM3=/dev/zero\n; c\nCOM3=/dev/zero\n", 3, SomeDevice, "COM3=/dev/null\n; c\n", ""},
        {"; c\nCOM2=/dev/null\n", 2, "", "; c\n", ""},
        {"; c\n", 2, "", "; c\n", "COM 2 is not assigned"},
        {large, 1, SomeDevice, large,
         "Can't read " + AssignmentFile() + ": is larger than 1048576 bytes"},
    };
    ASSERT_TRUE(QDir().mkpath(QFileInfo(AssignmentFile()).path()));
    for (const auto& row : rows) {
        ASSERT_TRUE(test::WriteAll(AssignmentFile(), row.Before));
        QString error;
        EXPECT_EQ(row.Device.isEmpty() ? UnassignComPort(row.Number, error)
                                       : AssignComPort(row.Number, row.Device, error),
                  row.Error.isEmpty());
        EXPECT_EQ(error, row.Error);
        EXPECT_TRUE(test::ReadAll(AssignmentFile()) == row.After) << row.Before.left(40).data();
    }
}

// A port opens what the file gives only when it passes the checks of `ports --assign`; a line
// refused, or a file not read, opens no port and none falls back to another device.
TEST_F(PortNamingTest, APortOpensItsAssignmentOnlyWhenTheLinesPassTheChecksOfAssigning) {
    const QString mend = "; mend the line or assign the port again.";
    const struct {
        QByteArray File;
        QString Device;
        int ReplyTimeoutMs;
        QString Refused;  // after the file's path
        ComSource Source;
    } rows[] = {
        {"[General]\nCOM1=\"/dev/a\\\\b,c\"\n", "/dev/a\\b,c", 0, "", ComSource::Assignment},
        {"COM1=/dev/zero\nCOM1ReplyTimeout=60000\n", "/dev/zero", 60000, "", ComSource::Assignment},
        {"; c\nCOM1=rfc2217:ocket://[::1]" + QByteArray(2, '\0') + '\n', "", 0,
         " line 2: COM1 holds a control character (U+0000)" + mend, ComSource::RefusedAssignment},
        {"COM1=/dev/zero\\x1b\n", "", 0, " line 1: COM1 holds a control character (U+001B)" + mend,
         ComSource::RefusedAssignment},
        {"COM1=/dev/zero\nCOM1ReplyTimeout=99999999\n", "", 0,
         " line 2: COM1ReplyTimeout takes milliseconds 1..60000, not 99999999" + mend,
         ComSource::RefusedAssignment},
        {"COM1ReplyTimeout=0\n", "", 0,
         " line 1: COM1ReplyTimeout takes milliseconds 1..60000, not 0" + mend,
         ComSource::RefusedAssignment},
        {"COM1=/dev/zero\n" + QByteArray(1 << 20, '#'), "", 0, ": is larger than 1048576 bytes",
         ComSource::UnreadableAssignments},
    };
    ASSERT_TRUE(QDir().mkpath(QFileInfo(AssignmentFile()).path()));
    for (const auto& row : rows) {
        ASSERT_TRUE(test::WriteAll(AssignmentFile(), row.File));
        const ComAssignment assigned = AssignmentOf(1);
        EXPECT_EQ(assigned.Device, row.Device) << row.File.left(40).data();
        EXPECT_EQ(assigned.ReplyTimeoutMs, row.ReplyTimeoutMs);
        const QString path = (row.Source == ComSource::UnreadableAssignments ? "Can't read " : "") +
                             AssignmentFile();
        EXPECT_EQ(assigned.Refused, row.Refused.isEmpty() ? "" : path + row.Refused);
        EXPECT_EQ(ResolveComPortAndSource(1, {SomeDevice}).Source, row.Source);
    }
}

TEST_F(PortNamingTest, ListsSixteenPortsWithTheLinkedDevice) {
    Link(16, SomeDevice);
    const QList<ComPortEntry> entries = ListComPorts();
    ASSERT_EQ(entries.size(), ComPortCount);
    for (int index = 0; index < ComPortCount; ++index) EXPECT_EQ(entries[index].Number, index + 1);
    EXPECT_EQ(entries.last().Device, SomeDevice);
    EXPECT_EQ(ResolveComPort(16), SomeDevice);
}

// A port written two ways is one port: a server's port however its address is spelt, a
// device through any link; letter case counts where the file system counts it.
TEST(PortIdentity, OnePortWrittenManyWaysIsOnePort) {
    QTemporaryDir folder;
    const QString link = folder.filePath(QStringLiteral("gateway"));
    ASSERT_TRUE(QFile::link(SomeDevice, link));
    const struct {
        QString A;
        QString B;
        bool Same;
    } rows[] = {
        {"rfc2217://h:4001", "RFC2217://H:4001", true},
        {"rfc2217://h:4001", "rfc2217://h:4001/", true},
        {"rfc2217://h:4001", "socket://h:04001", true},
        {"rfc2217://[::1]:4001", "rfc2217://[0:0::1]:4001", true},
        {"rfc2217://h:4001", "rfc2217://h:4002", false},
        {SomeDevice, link, true},
        {SomeDevice, "/dev/../dev/null", true},
        {SomeDevice, "/dev/NULL", false},
        {SomeDevice, "/dev/zero", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PortIdentity(row.A) == PortIdentity(row.B), row.Same)
            << row.A.toStdString() << " " << row.B.toStdString();
}

TEST(SerialPortsInComOrder, PutsUsbAdaptersFirstAndSortsNumbersAsNumbers) {
    const QStringList found = {"/dev/ttyS10",  "/dev/ttyS2",   "/dev/ttyUSB10", "/dev/ttyAMA0",
                               "/dev/ttyUSB2", "/dev/ttyACM0", "/dev/ttyS0"};
    const QStringList expected = {"/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyAMA0",
                                  "/dev/ttyS0",   "/dev/ttyS2",   "/dev/ttyS10"};
    EXPECT_EQ(SerialPortsInComOrder(found), expected);
}

// The simulator program publishing its terminal as COM n, in a port folder it makes.
TEST_F(PortNamingTest, GatewayPublishesReplacesStaleLinksAndRemovesItsOwnOnly) {
    qputenv("KV9052R_PORT_DIR", QFile::encodeName(folder_.filePath("ports")));
    QString error;
    {
        sim::ComLink first;
        ASSERT_TRUE(first.Publish(9, SomeDevice, error)) << error.toStdString();
        EXPECT_EQ(QFileInfo(ComLinkPath(9)).symLinkTarget(), SomeDevice);
    }
    EXPECT_FALSE(QFileInfo(ComLinkPath(9)).isSymLink()) << "removed when the gateway ends";

    Link(3, folder_.filePath("gone"));
    {
        sim::ComLink replacing;
        ASSERT_TRUE(replacing.Publish(3, SomeDevice, error)) << error.toStdString();
        EXPECT_EQ(QFileInfo(ComLinkPath(3)).symLinkTarget(), SomeDevice);

        // Another live gateway's link is left alone, by a second publisher and when the
        // link was replaced before its gateway ends.
        sim::ComLink second;
        EXPECT_FALSE(second.Publish(3, folder_.path(), error));
        EXPECT_TRUE(error.contains("COM 3 is already taken")) << error.toStdString();
        EXPECT_EQ(QFileInfo(ComLinkPath(3)).symLinkTarget(), SomeDevice);
        ASSERT_TRUE(QFile::remove(ComLinkPath(3)));
        Link(3, folder_.path());
    }
    EXPECT_EQ(QFileInfo(ComLinkPath(3)).symLinkTarget(), folder_.path());
}

}  // namespace
}  // namespace kv
