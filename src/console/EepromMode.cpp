#include "console/EepromMode.h"

#include "config/EepromImage.h"

namespace kv {

bool EnterEepromMode(ConsoleLink& link) {
    return link.SendCommand(QStringLiteral("use eeprom"), BlockPrompt);
}

bool SelectBlock(ConsoleLink& link, int block) {
    return link.SendCommand(QStringLiteral("block %1").arg(block), BlockPrompt);
}

QString ByteKey(int address) { return QStringLiteral("B(%1)=").arg(address); }

bool LeaveByteEditor(ConsoleLink& link) {
    return link.SendCommand(QStringLiteral("."), BlockPrompt);
}

bool LeaveEepromMode(ConsoleLink& link) {
    return link.SendCommand(QStringLiteral("quit"), link.ControllerPrompt);
}

bool WriteEditSequence(ConsoleLink& link, int address, std::span<const uint8_t> bytes,
                       const std::function<void()>& byteStored) {
    uint8_t shown = 0;  // the value the console shows is not used
    if (!link.ReadConsoleByte(QStringLiteral("e %1").arg(address), ByteKey(address), shown))
        return false;
    for (const uint8_t byte : bytes) {
        const int next = ++address;
        const QString value = QString::number(byte);
        const bool stored =
            next == EepromBlockSize
                ? link.SendCommand(value, BlockPrompt, LineKind::Changes)
                : link.ReadConsoleByte(value, ByteKey(next), shown, LineKind::Changes);
        if (!stored) return false;
        if (byteStored) byteStored();
    }
    return LeaveByteEditor(link);
}

}  // namespace kv
