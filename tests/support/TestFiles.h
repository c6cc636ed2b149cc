// Whole-file reads and writes for tests.
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

// The first file in a folder, in name order.
inline QString FirstFile(const QString& folder) {
    const QDir files(folder);
    return files.filePath(files.entryList(QDir::Files).value(0));
}

}  // namespace kv::test
