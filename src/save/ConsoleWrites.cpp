#include "save/ConsoleWrites.h"

namespace kv {

namespace {

const QString BlockPrompt = QStringLiteral("]");

QString AddressKey(int address) { return QStringLiteral("B(%1)=").arg(address); }

}  // namespace

bool SendEthernetSettings(ConsoleLink& link, const EthernetParams& ethernet) {
    const QString prompt = link.ControllerPrompt;
    return link.SendCommand("ip " + ethernet.Ip.trimmed(), prompt) &&
           link.SendCommand("gateway " + ethernet.Gateway.trimmed(), prompt) &&
           link.SendCommand("mask " + ethernet.Mask.trimmed(), prompt);
}

bool EnterEepromMode(ConsoleLink& link) {
    return link.SendCommand(QStringLiteral("use eeprom"), BlockPrompt);
}

bool SelectBlock(ConsoleLink& link, int block) {
    return link.SendCommand(QStringLiteral("block %1").arg(block), BlockPrompt);
}

bool WriteEditSequence(ConsoleLink& link, int address, std::span<const uint8_t> bytes) {
    uint8_t current = 0;  // the value the console shows is not used
    if (!link.ReadConsoleByte(QStringLiteral("e %1").arg(address), AddressKey(address), current))
        return false;
    int next = address + 1;
    for (uint8_t byte : bytes)
        if (!link.ReadConsoleByte(QString::number(byte), AddressKey(next++), current)) return false;
    return link.SendCommand(QStringLiteral("."), BlockPrompt);
}

bool LeaveEepromMode(ConsoleLink& link) {
    return link.SendCommand(QStringLiteral("quit"), link.ControllerPrompt);
}

}  // namespace kv
