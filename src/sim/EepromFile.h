#pragma once
// The virtual gateway's EEPROM kept in a file, so that it survives a restart: the 16
// blocks of 256 bytes one after another, 4096 bytes in all.

#include <QString>
#include <optional>

#include "config/EepromImage.h"

namespace kv::sim {

inline constexpr int EepromFileBytes = EepromBlockCount * EepromBlockSize;

// The image held in `path`; nothing, with the reason in `error`, when the file cannot be
// read or is not an EEPROM image.
std::optional<EepromImage> LoadEepromFile(const QString& path, QString& error);

// Writes the whole image or, on failure, leaves the file as it was and says why.
bool SaveEepromFile(const QString& path, const EepromImage& image, QString& error);

}  // namespace kv::sim
