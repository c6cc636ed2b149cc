// Files that users hand in or keep: inputs are read only from regular files (their size limit:
// ConfigFile in ConfigFilesTest); outputs replace only regular files.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "backup/BackupFile.h"
#include "platform/LimitedFile.h"
#include "platform/WholeFile.h"

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
    for (const QString& target : {pipe, folder.path()}) {
        EXPECT_EQ(WriteWholeFile(target, "{}"), "is not a regular file");
        BackupFile backup(target);
        EXPECT_FALSE(backup.Open());
        EXPECT_EQ(backup.ErrorText(), target + " is not a regular file");
    }
    EXPECT_FALSE(QFileInfo(pipe).isFile()) << "the pipe is still a pipe";
}

}  // namespace
}  // namespace kv
