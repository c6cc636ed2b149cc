#include "sim/EepromFile.h"

#include <QFile>
#include <algorithm>

#include "platform/WholeFile.h"

namespace kv::sim {

std::optional<EepromImage> LoadEepromFile(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    // One byte more than an image, so that a longer file is noticed.
    const QByteArray bytes = file.read(EepromFileBytes + 1);
    if (bytes.size() != EepromFileBytes) {
        error = QStringLiteral("%1 is not an EEPROM image (%2 bytes expected, %3 found)")
                    .arg(path)
                    .arg(EepromFileBytes)
                    .arg(file.size());
        return std::nullopt;
    }
    EepromImage image;
    for (int block = 0; block < EepromBlockCount; ++block) {
        const auto first = bytes.cbegin() + block * EepromBlockSize;
        std::transform(first, first + EepromBlockSize, image.Blocks[block].begin(),
                       [](char byte) { return static_cast<uint8_t>(byte); });
    }
    return image;
}

bool SaveEepromFile(const QString& path, const EepromImage& image, QString& error) {
    QByteArray bytes;
    bytes.reserve(EepromFileBytes);
    for (const EepromBlock& block : image.Blocks)
        bytes.append(reinterpret_cast<const char*>(block.data()), EepromBlockSize);
    const QString reason = WriteWholeFile(path, bytes);
    if (reason.isEmpty()) return true;
    error = QStringLiteral("Cannot write %1: %2").arg(path, reason);
    return false;
}

}  // namespace kv::sim
