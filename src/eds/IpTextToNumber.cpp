#include "eds/IpTextToNumber.h"

#include <QStringList>

namespace kv {

namespace {

constexpr int IpParts = 4;
constexpr int MaxPartValue = 255;

bool IsDecimalDigits(const QString& part) {
    if (part.isEmpty()) return false;
    for (QChar c : part)
        if (c < u'0' || c > u'9') return false;
    return true;
}

}  // namespace

uint32_t IpTextToNumber(const QString& text) {
    const QStringList parts = text.split(u'.');
    if (parts.size() != IpParts) return 0;
    uint32_t number = 0;
    for (const QString& part : parts) {
        if (!IsDecimalDigits(part)) return 0;
        bool ok = false;
        const uint value = part.toUInt(&ok);
        if (!ok || value > MaxPartValue) return 0;
        number = number * 256 + value;
    }
    return number;
}

}  // namespace kv
