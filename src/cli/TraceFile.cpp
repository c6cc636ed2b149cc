#include "cli/TraceFile.h"

#include <QMutex>
#include <QMutexLocker>

#include "platform/WholeFile.h"

namespace kv::cli {

namespace {

QMutex traceMutex;
QString tracePath;
QString traceText;

}  // namespace

void SetTraceFile(const QString& path) {
    const QMutexLocker lock(&traceMutex);
    tracePath = path;
    traceText.clear();
}

bool TraceWanted() {
    const QMutexLocker lock(&traceMutex);
    return !tracePath.isEmpty();
}

void AddTrace(const QString& port, const QString& text) {
    const QMutexLocker lock(&traceMutex);
    if (tracePath.isEmpty()) return;
    traceText += QStringLiteral("# %1\n").arg(port) + text;
}

QString WriteTraceFile() {
    const QMutexLocker lock(&traceMutex);
    if (tracePath.isEmpty()) return {};
    return WriteWholeFile(tracePath, traceText.toUtf8());
}

}  // namespace kv::cli
