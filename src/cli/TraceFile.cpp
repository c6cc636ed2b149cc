#include "cli/TraceFile.h"

#include <QMutexLocker>

#include "platform/WholeFile.h"

namespace kv::cli {

void TraceFile::Add(const QString& port, const QString& text) {
    if (!Wanted()) return;
    const QMutexLocker lock(&mutex_);
    text_ += QStringLiteral("# %1\n").arg(port) + text;
}

QString TraceFile::Write() const {
    if (!Wanted()) return {};
    const QMutexLocker lock(&mutex_);
    return WriteWholeFile(path_, text_.toUtf8());
}

}  // namespace kv::cli
