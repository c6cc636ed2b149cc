#pragma once
// `--trace FILE`: the exchange of every console the command used, written whole when the
// command ends.

#include <QMutex>
#include <QString>

namespace kv::cli {

class TraceFile {
public:
    // An empty path: no trace is kept.
    explicit TraceFile(const QString& path = {}) : path_(path) {}
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;

    const QString& Path() const { return path_; }
    bool Wanted() const { return !path_.isEmpty(); }
    // Adds the trace of the console on `port`; safe from the threads of many ports.
    void Add(const QString& port, const QString& text);
    // Writes the file; empty on success or when no trace is kept, else the reason.
    QString Write() const;

private:
    const QString path_;
    mutable QMutex mutex_;
    QString text_;
};

}  // namespace kv::cli
