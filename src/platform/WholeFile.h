#pragma once
// Files are written whole or not at all: the bytes go to a temporary file beside `path`
// that replaces it only once everything was written, so a full disk or a crash never
// leaves a half file where a good one was. Only a regular file is written: a folder,
// device or pipe of that name is refused.

#include <QByteArray>
#include <QString>

namespace kv {

// Empty on success, else the system's reason; on failure `path` is as it was.
QString WriteWholeFile(const QString& path, const QByteArray& bytes);

// Empty when `path` may be written whole: it does not exist or is a regular file. Like the
// other reasons, the text does not name the path; callers put it in front.
QString TargetNotRegular(const QString& path);

}  // namespace kv
