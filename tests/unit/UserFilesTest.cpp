// Files that users hand in or keep: inputs are read with a limit counted while reading and
// only from regular files; outputs replace only regular files.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "backup/BackupFile.h"
#include "platform/LimitedFile.h"
#include "platform/WholeFile.h"
#include "support/TestFiles.h"

namespace kv {
namespace {

TEST(UserFiles, InputsAreReadOnlyFromRegularFilesUpToTheLimit) {
    QTemporaryDir folder;
    const QString pipe = folder.filePath("pipe");
    ASSERT_EQ(mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    const QString large = folder.filePath("large.json");
    ASSERT_TRUE(test::WriteAll(large, QByteArray(2 * 1024 * 1024, '{')));
    const struct {
        QString path;
        const char* refusal;
    } cases[] = {
        {"/dev/zero", "is not a regular file"},
        {pipe, "is not a regular file"},  // would block for ever if it were opened
        {folder.path(), "is a folder, not a file"},
        {large, "is larger than 1048576 bytes"},
        {folder.filePath("missing"), "no such file"},
    };
    for (const auto& c : cases) {
        QByteArray bytes;
        EXPECT_EQ(ReadLimitedFile(c.path, bytes), c.refusal) << c.path.toStdString();
        EXPECT_TRUE(bytes.isEmpty());
    }
}

TEST(UserFiles, OutputsReplaceOnlyRegularFiles) {
    QTemporaryDir folder;
    const QString pipe = folder.filePath("pipe");
    ASSERT_EQ(mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
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
