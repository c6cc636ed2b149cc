// Files that users hand in or keep: inputs are read only from regular files (their size limit:
// ConfigFile in ConfigFilesTest); outputs replace only regular files.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <tuple>

#include "backup/BackupFile.h"
#include "platform/LimitedFile.h"
#include "platform/WholeFile.h"
#include "sim/EepromFile.h"
#include "support/TestFiles.h"

namespace kv {
namespace {

TEST(UserFiles, OnlyRegularFilesAreReadOrReplaced) {
    QTemporaryDir folder;
    const QString pipe = folder.filePath("pipe");
    ASSERT_EQ(mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    const struct {
        QString path;
        const char* refusal;
    } cases[] = {
        {"/dev/zero", "is not a regular file"},
        {pipe, "is not a regular file"},  // would block for ever if it were opened
        {folder.path(), "is a folder, not a file"},
        {folder.filePath("missing"), "no such file"},
    };
    for (const auto& c : cases) {
        QByteArray bytes;
        EXPECT_EQ(ReadLimitedFile(c.path, bytes), c.refusal) << c.path.toStdString();
        EXPECT_TRUE(bytes.isEmpty());
    }
    // An input may come through a pipe; one that nobody writes to reads as empty.
    QByteArray piped = "old";
    EXPECT_EQ(ReadInputFile(pipe, piped), "");
    EXPECT_EQ(piped, "");
    for (const QString& target : {pipe, folder.path()}) {
        EXPECT_EQ(WriteWholeFile(target, "{}"), "is not a regular file");
        BackupFile backup(target);
        EXPECT_FALSE(backup.Open());
        EXPECT_EQ(backup.ErrorText(), target + " is not a regular file");
    }
    QString error;  // the simulator would hang on the pipe
    EXPECT_FALSE(sim::LoadEepromFile(pipe, error).has_value());
    EXPECT_EQ(error, "Cannot read " + pipe + ": is not a regular file");
    EXPECT_FALSE(QFileInfo(pipe).isFile()) << "the pipe is still a pipe";
}

// Root writing over another user's file leaves it that user's, with its permissions.
TEST(UserFiles, ReplacedFileKeepsItsOwnerAndPermissions) {
    if (geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
    QTemporaryDir folder;
    const QString path = folder.filePath("theirs.json");
    const QByteArray name = QFile::encodeName(path);
    ASSERT_TRUE(test::WriteAll(path, "old") && chown(name.constData(), 1234, 5678) == 0 &&
                chmod(name.constData(), 0640) == 0);
    struct stat written {};
    ASSERT_TRUE(WriteWholeFile(path, "new").isEmpty() && stat(name.constData(), &written) == 0);
    EXPECT_EQ(std::tuple(written.st_uid, written.st_gid, written.st_mode & 07777),
              std::tuple(1234u, 5678u, 0640u));
}

}  // namespace
}  // namespace kv
