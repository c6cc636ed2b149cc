#include "console/EepromMode.h"

namespace kv {

bool EnterEepromMode(ConsoleLink& link) {
    return link.SendCommand(QStringLiteral("use eeprom"), BlockPrompt);
}

bool LeaveByteEditor(ConsoleLink& link) {
    return link.SendCommand(QStringLiteral("."), BlockPrompt);
}

bool LeaveEepromMode(ConsoleLink& link) {
    return link.SendCommand(QStringLiteral("quit"), link.ControllerPrompt);
}

namespace {

bool SelectBlock(ConsoleLink& link, int block) {
    return link.SendCommand(QStringLiteral("block %1").arg(block), BlockPrompt);
}

// What the byte editor shows before the value at `address`: "B(A)=".
QString ByteKey(int address) { return QStringLiteral("B(%1)=").arg(address); }

// Opens `address` in the byte editor, which shows the byte stored there.
bool OpenAddress(ConsoleLink& link, int address, uint8_t& shown) {
    return link.ReadConsoleByte(QStringLiteral("e %1").arg(address), ByteKey(address), shown);
}

// Sends the value for the open `address`: the console stores it and shows the next address,
// or its block prompt after the block's last one.
bool StoreAndMoveOn(ConsoleLink& link, int address, uint8_t value, LineKind kind, uint8_t& shown) {
    const int next = address + 1;
    const QString line = QString::number(value);
    return next == EepromBlockSize ? link.SendCommand(line, BlockPrompt, kind)
                                   : link.ReadConsoleByte(line, ByteKey(next), shown, kind);
}

}  // namespace

bool RunEditor::Select(int block) {
    if (block == selected_) return true;
    if (!SelectBlock(link_, block)) return false;
    selected_ = block;
    return true;
}

bool RunEditor::Read(EepromRun& run, RunReading way, const std::function<void()>& byteRead) {
    std::vector<uint8_t>& bytes = run.Bytes;
    if (!Select(run.Block) || !OpenAddress(link_, run.Address, bytes[0])) return false;
    for (size_t i = 1; i < bytes.size(); ++i) {
        const int address = run.Address + int(i);
        const bool shown =
            way == RunReading::OpeningEachAddress
                ? OpenAddress(link_, address, bytes[i])
                : StoreAndMoveOn(link_, address - 1, bytes[i - 1], LineKind::Asks, bytes[i]);
        if (!shown) return false;
        if (byteRead) byteRead();
    }
    return LeaveByteEditor(link_);
}

bool RunEditor::Write(const EepromRun& run, const std::function<void()>& byteStored) {
    uint8_t shown = 0;  // the value the console shows is not used
    if (!Select(run.Block) || !OpenAddress(link_, run.Address, shown)) return false;
    int address = run.Address;
    for (const uint8_t byte : run.Bytes) {
        if (!StoreAndMoveOn(link_, address++, byte, LineKind::Changes, shown)) return false;
        if (byteStored) byteStored();
    }
    return LeaveByteEditor(link_);
}

}  // namespace kv
