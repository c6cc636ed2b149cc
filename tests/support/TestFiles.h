// Whole-file reads and writes for tests, and pictures of windows for a person to look at.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

namespace kv::test {

// The file's bytes, or nothing when it cannot be read.
inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Where window pictures go: KV_TEST_OUTPUT, else the temporary folder.
inline QString PictureFolder() {
    const QString folder = qEnvironmentVariable("KV_TEST_OUTPUT", QDir::tempPath());
    QDir().mkpath(folder);
    return folder;
}

// Saves a picture of a widget (any type with grab()), shown first; true when written.
template <typename Widget>
bool SavePicture(Widget& widget, const QString& fileName) {
    widget.show();
    return widget.grab().save(QDir(PictureFolder()).filePath(fileName));
}

}  // namespace kv::test
