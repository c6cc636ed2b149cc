#pragma once
// Files are written whole or not at all: the bytes go to a temporary file beside `path`
// that replaces it only once every byte was written, flushed and synced to the disk, so a
// full disk, a file-size limit or a crash never leaves a short file where a good one was.
// Only a regular file is written: a folder, device or pipe of that name is refused. When
// root writes over another user's file, the file stays that user's, with its permissions.

#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace kv {

// One file written in two steps: Open before the work that makes the bytes, so that a
// folder that cannot be written is found before anything is done, and Commit with them.
// Both return empty on success, else the system's reason ("No space left on device");
// on any failure the temporary file is dropped and `path` is as it was.
class WholeFileWriter {
public:
    explicit WholeFileWriter(const QString& path);
    QString Open();
    QString Commit(const QByteArray& bytes);
    QString Path() const { return file_.fileName(); }

private:
    QString Fail(const QString& reason);

    QSaveFile file_;
};

// Open and Commit at once.
QString WriteWholeFile(const QString& path, const QByteArray& bytes);

// Makes the folder `path` and those above it. Empty when it is there, else the system's
// reason ("Permission denied"); the text does not name the path.
QString MakeFolder(const QString& path);

// Empty when `path` may be written whole: it does not exist or is a regular file. Like the
// other reasons, the text does not name the path; callers put it in front.
QString TargetNotRegular(const QString& path);

}  // namespace kv
