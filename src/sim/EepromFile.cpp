#include "sim/EepromFile.h"

#include <QFileInfo>
#include <algorithm>

#include "platform/LimitedFile.h"
#include "platform/WholeFile.h"

namespace kv::sim {

std::optional<EepromImage> LoadEepromFile(const QString& path, QString& error) {
    // A pipe or a device would block the simulator or never end: only a regular file is
    // read, no more than an image.
    QByteArray bytes;
    const QString failed = ReadLimitedFile(path, bytes, EepromFileBytes);
    const qint64 size = QFileInfo(path).size();
    const bool tooLong = QFileInfo(path).isFile() && size > EepromFileBytes;
    if (!failed.isEmpty() && !tooLong) {
        error = QStringLiteral("Cannot read %1: %2").arg(path, failed);
        return std::nullopt;
    }
    if (tooLong || bytes.size() != EepromFileBytes) {
        error = QStringLiteral("%1 is not an EEPROM image (%2 bytes expected, %3 found)")
                    .arg(path)
                    .arg(EepromFileBytes)
                    .arg(size);
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
