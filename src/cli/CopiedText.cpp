#include "cli/CopiedText.h"

#include <QStringList>

namespace kv::cli {
namespace {

constexpr qsizetype CopyLimit = 64 * 1024;

}  // namespace

qint64 CopiedText::writeData(const char* data, qint64 size) {
    target_ << QString::fromUtf8(data, size) << Qt::flush;
    if (copy_.size() < CopyLimit) copy_.append(data, std::min<qint64>(size, CopyLimit));
    return size;
}

QString CopiedText::Text() const {
    QStringList lines;
    for (const QString& line : QString::fromUtf8(copy_).split(u'\n', Qt::SkipEmptyParts))
        if (!line.contains(u'\r')) lines.append(line);
    return lines.join(u'\n').trimmed();
}

}  // namespace kv::cli
