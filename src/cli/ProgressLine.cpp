#include "cli/ProgressLine.h"

#include <algorithm>
#include <cstdio>

#include "platform/StandardError.h"

namespace kv::cli {

ProgressLine::ProgressLine(const QCommandLineParser& args)
    : shown_(StandardErrorIsTerminal() && !args.optionNames().contains(QStringLiteral("quiet")) &&
             !args.optionNames().contains(QStringLiteral("q"))) {}

ProgressLine::~ProgressLine() { Clear(); }

void ProgressLine::Show(const QString& port, const QString& doing, int percent) {
    if (!shown_) return;
    const std::lock_guard lock(mutex_);
    if (!order_.contains(port)) order_.append(port);
    states_[port] = QStringLiteral("%1 %2 %3%").arg(doing, port).arg(std::clamp(percent, 0, 100));
    Draw();
}

void ProgressLine::Forget(const QString& port) {
    if (!shown_) return;
    const std::lock_guard lock(mutex_);
    order_.removeAll(port);
    states_.remove(port);
    Draw();
}

ProgressFn ProgressLine::For(const QString& port, const QString& doing, int maximum) {
    return [this, port, doing, maximum](int value) {
        Show(port, doing, maximum > 0 ? value * 100 / maximum : 0);
    };
}

void ProgressLine::Clear() {
    if (!shown_) return;
    const std::lock_guard lock(mutex_);
    if (!drawn_.isEmpty()) std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    drawn_.clear();
}

void ProgressLine::PrintAbove(QTextStream& err, const QString& line) {
    const std::lock_guard lock(mutex_);
    if (shown_ && !drawn_.isEmpty()) std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    err << line << "\n" << Qt::flush;
    if (!shown_) return;
    drawn_.clear();
    Draw();
}

void ProgressLine::Draw() {
    QStringList parts;
    for (const QString& port : order_) parts.append(states_.value(port));
    QString line = parts.join(QStringLiteral(" | "));
    line.truncate(StandardErrorColumns() - 1);
    if (line == drawn_) return;
    drawn_ = line;
    std::fputs(qPrintable(QStringLiteral("\r\033[K") + line), stderr);
    std::fflush(stderr);
}

}  // namespace kv::cli
