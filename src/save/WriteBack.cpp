#include "save/WriteBack.h"

#include "config/EepromCodec.h"
#include "console/EepromMode.h"
#include "save/ConsoleWrites.h"

namespace kv {

namespace {

// The progress of a save: 10 after the Ethernet settings, 5 per edit sequence of blocks 0
// and 1, and per class 5 for its header, 1 per command, and the class's end value.
constexpr int EthernetDone = 10;
constexpr int PortSettingsDone[] = {15, 20};
constexpr int SettingsDone = 25;
constexpr int PollPathsDone = 30;
constexpr int FirstClassHeaderDone = 35;
constexpr int ClassProgressSpan = 15;  // header at +0, end at +10, next class at +15
constexpr int ClassCommandsDone = 10;

class Writer {
public:
    Writer(ConsoleLink& link, const ProgressFn& progress) : link_(link), progress_(progress) {}

    bool Block(int block) { return SelectBlock(link_, block); }

    template <std::size_t N>
    bool Sequence(int address, const std::array<uint8_t, N>& bytes, int progressAfter) {
        if (!WriteEditSequence(link_, address, bytes)) return false;
        Progress(progressAfter);
        return true;
    }

    // A class header, then its commands, one progress step each, then the class's end value.
    template <typename Record, typename CommandAddress>
    bool Class(const Record& record, int headerAddress, const auto& header, int classIndex,
               CommandAddress commandAddress) {
        int value = FirstClassHeaderDone + ClassProgressSpan * classIndex;
        if (!Sequence(headerAddress, header, value)) return false;
        const int count = CommandCount(record);
        for (int slot = 0; slot < count; ++slot)
            if (!Sequence(commandAddress(slot), eeprom::EncodeCommand(record.Commands[slot]),
                          ++value))
                return false;
        Progress(FirstClassHeaderDone + ClassProgressSpan * classIndex + ClassCommandsDone);
        return true;
    }

    void Progress(int value) { ReportProgress(progress_, value); }

private:
    ConsoleLink& link_;
    const ProgressFn& progress_;
};

bool WritePortSettings(Writer& writer, const GatewayConfig& config) {
    if (!writer.Block(eeprom::PortSettingsBlock)) return false;
    for (int port = 0; port < SerialClassCount; ++port) {
        const auto bytes = eeprom::EncodePortSettings(config.SerialClasses[port]);
        if (!writer.Sequence(eeprom::PortSettingsAddress(port), bytes, PortSettingsDone[port]))
            return false;
    }
    return true;
}

bool WriteSettings(Writer& writer, const GatewayConfig& config, const ConnectionPaths& paths) {
    return writer.Block(eeprom::SettingsBlock) &&
           writer.Sequence(eeprom::SettingsWriteAddress, eeprom::EncodeSettings(config),
                           SettingsDone) &&
           writer.Sequence(eeprom::PollPathsAddress, eeprom::EncodePollPaths(paths), PollPathsDone);
}

bool WriteSerialClasses(Writer& writer, const GatewayConfig& config) {
    for (int k = 0; k < SerialClassCount; ++k) {
        const SerialClassRecord& record = config.EditSerialClasses[k];
        if (!writer.Block(eeprom::SerialClassBlock(k)) ||
            !writer.Class(record, 0, eeprom::EncodeSerialHeader(record), k,
                          eeprom::SerialCommandAddress))
            return false;
    }
    return true;
}

// Two connections share a block: the first at base 0, the second at base 128.
bool WriteTcpClasses(Writer& writer, const GatewayConfig& config) {
    for (int connection = 0; connection < TcpClassCount; ++connection) {
        const TcpClassRecord& record = config.EditTcpClasses[connection];
        const bool firstInBlock = eeprom::TcpClassBase(connection) == 0;
        if (firstInBlock && !writer.Block(eeprom::TcpClassBlock(connection))) return false;
        const auto commandAddress = [connection](int slot) {
            return eeprom::TcpCommandAddress(connection, slot);
        };
        if (!writer.Class(record, eeprom::TcpClassBase(connection), eeprom::EncodeTcpHeader(record),
                          SerialClassCount + connection, commandAddress))
            return false;
    }
    return true;
}

}  // namespace

WriteResult WriteBack(ConsoleLink& link, const GatewayConfig& config,
                      const ConnectionPaths& pollPaths, const ProgressFn& progress) {
    Writer writer(link, progress);
    // The console may have been left anywhere, even inside the EEPROM editor.
    if (!RecoverConsole(link) || !SendEthernetSettings(link, config.EthernetParams))
        return WriteResult::Timeout;
    writer.Progress(EthernetDone);
    const bool written = EnterEepromMode(link) && WritePortSettings(writer, config) &&
                         WriteSettings(writer, config, pollPaths) &&
                         WriteSerialClasses(writer, config) && WriteTcpClasses(writer, config) &&
                         LeaveEepromMode(link);
    return written ? WriteResult::Ok : WriteResult::Timeout;
}

}  // namespace kv
