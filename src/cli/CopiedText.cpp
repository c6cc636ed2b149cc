#include "cli/CopiedText.h"

#include <algorithm>

namespace kv::cli {
namespace {

constexpr qsizetype CopyLimit = 64 * 1024;

}  // namespace

qint64 CopiedText::writeData(const char* data, qint64 size) {
    target_ << QString::fromUtf8(data, size) << Qt::flush;
    if (copy_.size() < CopyLimit) copy_.append(data, std::min<qint64>(size, CopyLimit));
    return size;
}

}  // namespace kv::cli
