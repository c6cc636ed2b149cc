#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/PortNaming.h"

namespace kv {
namespace {

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const QString& value)
        : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, QFile::encodeName(value));
    }
    ~ScopedEnvironment() {
        if (wasSet_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    bool wasSet_;
    QByteArray old_;
};

// Two ports present, in COM order, as a machine with one USB adapter and one built-in port.
const QStringList PresentPorts = {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyS0")};
const QString SomeDevice = QStringLiteral("/dev/null");  // a character device on every machine

class PortNamingTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }
    void Link(int number, const QString& target) {
        ASSERT_TRUE(QFile::link(target, ComLinkPath(number)));
    }

    QTemporaryDir folder_;
    ScopedEnvironment portDir_{"KV9052R_PORT_DIR", folder_.path()};
    ScopedEnvironment configDir_{"XDG_CONFIG_HOME", folder_.filePath(QStringLiteral("config"))};
};

TEST(PortFolder, ComesFromThePortVariableThenTheRuntimeFolderThenTheTemporaryFolder) {
    {
        ScopedEnvironment portDir("KV9052R_PORT_DIR", QStringLiteral("/somewhere/ports"));
        ScopedEnvironment runtime("XDG_RUNTIME_DIR", QStringLiteral("/run/user/1000"));
        EXPECT_EQ(PortFolder(), "/somewhere/ports");
        EXPECT_EQ(ComLinkPath(3), "/somewhere/ports/COM3");
    }
    {
        ScopedEnvironment portDir("KV9052R_PORT_DIR", QString());
        ScopedEnvironment runtime("XDG_RUNTIME_DIR", QStringLiteral("/run/user/1000"));
        EXPECT_EQ(PortFolder(), "/run/user/1000/kv9052r");
    }
    {
        ScopedEnvironment portDir("KV9052R_PORT_DIR", QString());
        ScopedEnvironment runtime("XDG_RUNTIME_DIR", QString());
        EXPECT_EQ(PortFolder(), QDir::tempPath() + "/kv9052r-" + QString::number(getuid()));
    }
}

TEST_F(PortNamingTest, AnAssignmentComesFirstThenAPortFolderLinkThenThePortsPresent) {
    const QString assigned = QStringLiteral("/dev/zero");
    QString error;
    ASSERT_TRUE(AssignComPort(1, assigned, error)) << error.toStdString();
    ASSERT_TRUE(AssignComPort(3, assigned, error)) << error.toStdString();
    EXPECT_FALSE(AssignComPort(4, QStringLiteral("/dev/kv9052r-gone"), error));
    Link(1, SomeDevice);
    Link(2, SomeDevice);
    Link(5, SomeDevice);
    Link(17, SomeDevice);
    const struct {
        int Number;
        QString Device;
        ComSource Source;
    } expected[] = {
        {1, assigned, ComSource::Assignment},    // over a link
        {2, SomeDevice, ComSource::PortFolder},  // over the second port present
        {3, assigned, ComSource::Assignment},    // where no port is present
        {4, "", ComSource::None},                // two ports present
        {5, SomeDevice, ComSource::PortFolder},
        {6, "", ComSource::None},
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
    EXPECT_EQ(ResolveComPort(3, PresentPorts), "");
}

TEST_F(PortNamingTest, ALinkResolvesToTheDeviceItFinallyPointsTo) {
    // The device's own name, so that one device has one lock whichever name opened it.
    const QString hop = QDir(folder_.path()).filePath(QStringLiteral("gateway"));
    ASSERT_TRUE(QFile::link(SomeDevice, hop));
    Link(1, hop);
    EXPECT_EQ(ResolveComPort(1, PresentPorts), SomeDevice);
}

// An unplugged adapter leaves its link behind: COM n must not move to another device.
TEST_F(PortNamingTest, StaleOrNonDeviceLinksOpenNothing) {
    Link(1, QStringLiteral("/dev/kv9052r-gone"));
    const QString plainFile = QDir(folder_.path()).filePath(QStringLiteral("notes.txt"));
    QFile file(plainFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    Link(2, plainFile);

    for (const int number : {1, 2}) {
        const ComResolution resolved = ResolveComPortAndSource(number, PresentPorts);
        EXPECT_EQ(resolved.Device, QString());
        EXPECT_EQ(resolved.Source, ComSource::BrokenLink);
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

TEST(SerialPortsInComOrder, PutsUsbAdaptersFirstAndSortsNumbersAsNumbers) {
    const QStringList found = {"/dev/ttyS10",  "/dev/ttyS2",   "/dev/ttyUSB10", "/dev/ttyAMA0",
                               "/dev/ttyUSB2", "/dev/ttyACM0", "/dev/ttyS0"};
    const QStringList expected = {"/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyAMA0",
                                  "/dev/ttyS0",   "/dev/ttyS2",   "/dev/ttyS10"};
    EXPECT_EQ(SerialPortsInComOrder(found), expected);
}

}  // namespace
}  // namespace kv
