#include "modbus/AsciiFrame.h"

#include <algorithm>

#include "config/NumberText.h"

namespace kv {

uint8_t AsciiLrc(QByteArrayView message) {
    uint8_t sum = 0;
    for (char byte : message) sum = uint8_t(sum + uint8_t(byte));
    return uint8_t(-sum);
}

QByteArray AsciiFrame(QByteArrayView message) {
    const QByteArray withLrc = message.toByteArray() + char(AsciiLrc(message));
    return ':' + withLrc.toHex().toUpper() + "\r\n";
}

AsciiMessage AsciiMessageOf(QByteArrayView frame) {
    if (!frame.startsWith(':') || !frame.endsWith("\r\n"))
        return {{}, QStringLiteral("an ASCII frame without its colon or CR LF")};
    const QByteArrayView hex = frame.sliced(1, frame.size() - 3);
    const bool allHex = std::all_of(hex.begin(), hex.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    });
    if (!allHex || hex.size() % 2 != 0 || hex.size() < 4)
        return {{}, QStringLiteral("an ASCII frame that is no whole hexadecimal pairs")};
    QByteArray bytes = QByteArray::fromHex(hex.toByteArray());
    const uint8_t lrc = uint8_t(bytes.back());
    bytes.chop(1);
    if (const uint8_t expected = AsciiLrc(bytes); lrc != expected)
        return {{}, QStringLiteral("LRC %1, not %2").arg(HexByteText(lrc), HexByteText(expected))};
    return {bytes, {}};
}

}  // namespace kv
