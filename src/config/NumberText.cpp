#include "config/NumberText.h"

#include <cmath>

namespace kv {

double ReadLeadingNumber(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    const auto digitsFrom = [&](qsizetype from) {
        qsizetype j = from;
        while (j < text.size() && text[j].isDigit() && text[j].unicode() < 128) ++j;
        return j;
    };
    qsizetype end = digitsFrom(i);
    bool anyDigit = end > i;
    if (end < text.size() && text[end] == u'.') {
        const qsizetype fractionEnd = digitsFrom(end + 1);
        anyDigit = anyDigit || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!anyDigit) return 0;
    if (end < text.size() && (text[end] == u'e' || text[end] == u'E')) {
        qsizetype j = end + 1;
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) ++j;
        const qsizetype exponentEnd = digitsFrom(j);
        if (exponentEnd > j) end = exponentEnd;
    }
    bool ok = false;
    const double value = text.mid(start, end - start).toString().toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0;
}

std::optional<uint8_t> ReadDecimalByte(QStringView text) {
    if (text.isEmpty() || text.size() > 3) return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > UINT8_MAX) return std::nullopt;
    return static_cast<uint8_t>(value);
}

QStringView TrimSpaces(QStringView text) {
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text[first] == u' ') ++first;
    while (end > first && text[end - 1] == u' ') --end;
    return text.sliced(first, end - first);
}

int64_t RoundHalfEven(double value) {
    if (!std::isfinite(value)) return 0;
    // nearbyint uses the current rounding mode, which is round-to-nearest-even.
    const double rounded = std::nearbyint(value);
    if (rounded >= 9.2e18) return INT64_MAX;
    if (rounded <= -9.2e18) return INT64_MIN;
    return static_cast<int64_t>(rounded);
}

QString WholeNumberText(double value) { return QString::number(RoundHalfEven(value)); }

QString CountText(qsizetype count, const char* noun) {
    return QStringLiteral("%1 %2%3").arg(count).arg(QLatin1String(noun), count == 1 ? "" : "s");
}

QString HexByteText(uint8_t byte) {
    return QString::number(byte, 16).toUpper().rightJustified(2, u'0');
}

}  // namespace kv
