#pragma once
// One line on standard error that rewrites itself: what each port is doing and how far.

#include <QCommandLineParser>
#include <QHash>
#include <QStringList>
#include <QTextStream>
#include <mutex>

#include "console/ReadOut.h"

namespace kv::cli {

// Nothing is shown when standard error is no terminal or when the command has --quiet.
// Safe to call from any thread.
class ProgressLine {
public:
    explicit ProgressLine(const QCommandLineParser& args);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Show(const QString& port, const QString& doing, int percent);
    void Forget(const QString& port);
    // A ProgressFn that shows `doing` with value/maximum as a percentage.
    ProgressFn For(const QString& port, const QString& doing, int maximum);
    // Takes the line off the terminal, so that messages start on a clean line.
    void Clear();
    // Writes `line` to `err` at once, with the progress line taken off first.
    void PrintAbove(QTextStream& err, const QString& line);

private:
    void Draw();

    std::mutex mutex_;
    bool shown_ = false;
    QStringList order_;
    QHash<QString, QString> states_;
    QString drawn_;
};

}  // namespace kv::cli
