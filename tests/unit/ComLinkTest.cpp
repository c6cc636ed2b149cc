#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/PortNaming.h"
#include "sim/ComLink.h"

namespace kv::sim {
namespace {

class ComLinkTest : public ::testing::Test {
protected:
    ComLinkTest() { qputenv("KV9052R_PORT_DIR", QFile::encodeName(folder.filePath("ports"))); }
    ~ComLinkTest() override { qunsetenv("KV9052R_PORT_DIR"); }

    QTemporaryDir folder;
    // Any path that exists stands in for a live device.
    const QString liveDevice = folder.path();
    const QString otherLiveDevice = QFileInfo(folder.path()).absolutePath();
};

TEST_F(ComLinkTest, PublishesReplacesStaleLinksAndRemovesItsOwnOnly) {
    QString error;
    {
        ComLink first;
        ASSERT_TRUE(first.Publish(9, liveDevice, error)) << error.toStdString();
        EXPECT_EQ(QFileInfo(ComLinkPath(9)).symLinkTarget(), liveDevice);
    }
    EXPECT_FALSE(QFileInfo(ComLinkPath(9)).isSymLink()) << "removed when the gateway ends";

    ASSERT_TRUE(QFile::link(folder.filePath("gone"), ComLinkPath(3)));
    ComLink replacing;
    ASSERT_TRUE(replacing.Publish(3, liveDevice, error)) << error.toStdString();
    EXPECT_EQ(QFileInfo(ComLinkPath(3)).symLinkTarget(), liveDevice);

    // Another live gateway's link is left alone.
    ComLink second;
    EXPECT_FALSE(second.Publish(3, otherLiveDevice, error));
    EXPECT_TRUE(error.contains("COM 3 is already taken")) << error.toStdString();
    EXPECT_EQ(QFileInfo(ComLinkPath(3)).symLinkTarget(), liveDevice);
}

}  // namespace
}  // namespace kv::sim
