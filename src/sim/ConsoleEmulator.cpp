#include "sim/ConsoleEmulator.h"

#include <optional>
#include <utility>

namespace kv::sim {

namespace {

const QByteArray NewLine = "\r\n";
const QByteArray UnknownCommand = "Unknown command\r\n";
const QByteArray OutOfRange = "Out of range\r\n";
// What a garbled line turns into: none of ">", "]", "=" or a model name.
const QByteArray Junk = "#%&*~?!@$^";
// A line longer than this is cut; the controller's line buffer is small.
constexpr int MaxLineLength = 128;

// A decimal number 0..maximum made of digits only.
std::optional<int> ReadDecimal(const QString& text, int maximum) {
    if (text.isEmpty() || text.size() > 5) return std::nullopt;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    }
    const int value = text.toInt();
    if (value > maximum) return std::nullopt;
    return value;
}

bool IsDottedAddress(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4) return false;
    for (const QString& part : parts) {
        if (part.size() > 3 || !ReadDecimal(part, 255)) return false;
    }
    return true;
}

QByteArray Garbled(const QByteArray& bytes) {
    QByteArray junk(bytes.size(), '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        junk[i] = Junk[(static_cast<uint8_t>(bytes[i]) + i) % Junk.size()];
    return junk;
}

}  // namespace

ConsoleEmulator::ConsoleEmulator(ControllerModel model) : model_(model) {}

EthernetParams ConsoleEmulator::FactoryNetwork() {
    return {QStringLiteral("192.168.255.1"), QStringLiteral("255.255.255.0"),
            QStringLiteral("192.168.0.1")};
}

ConsoleOutput ConsoleEmulator::Receive(char byte) {
    ConsoleOutput output;
    if (byte == '\n') return output;
    const bool silent = IsSilent();
    const bool garbling = IsGarbling();
    if (byte != '\r') {
        if (typing_.size() < MaxLineLength) typing_.append(byte);
        if (!silent) output.Echo = QByteArray(1, byte);
    } else {
        const QString line = QString::fromLatin1(typing_);
        typing_.clear();
        lines_.append(line);
        if (!silent) {
            output.Echo = NewLine;
            output.Answer = AddNoise(Answer(line));
            output.EndlessBlanks = LinesReceived() == Faults.NeverQuietAfterLines + 1;
        }
    }
    if (garbling) {
        output.Echo = Garbled(output.Echo);
        output.Answer = Garbled(output.Answer);
    }
    return output;
}

QByteArray ConsoleEmulator::Feed(const QByteArray& bytes) {
    QByteArray printed;
    for (char byte : bytes) {
        const ConsoleOutput output = Receive(byte);
        printed += output.Echo + output.Answer;
    }
    return printed;
}

QByteArray ConsoleEmulator::AddNoise(QByteArray answer) {
    if (Faults.NoiseFrom.isEmpty() || !answer.contains(Faults.NoiseFrom)) return answer;
    return answer.replace(std::exchange(Faults.NoiseFrom, {}), Faults.NoiseTo);
}

bool ConsoleEmulator::IsSilent() const {
    return Faults.StopAfterLines >= 0 && LinesReceived() >= Faults.StopAfterLines;
}

bool ConsoleEmulator::IsGarbling() const {
    return Faults.GarbleAfterLines >= 0 && LinesReceived() >= Faults.GarbleAfterLines;
}

QByteArray ConsoleEmulator::MainPrompt() const {
    return NewLine + ModelName(model_).toLatin1() + '>';
}

QByteArray ConsoleEmulator::BlockPrompt() const {
    return NewLine + "EEPROM block " + QByteArray::number(block_) + ']';
}

QByteArray ConsoleEmulator::EditPrompt() const {
    const int value = Eeprom.Blocks[block_][address_];
    return NewLine + "B(" + QByteArray::number(address_) + ")=" + QByteArray::number(value) +
           " -->";
}

QByteArray ConsoleEmulator::PromptOfMode() const {
    switch (mode_) {
        case ConsoleMode::Main:
            return MainPrompt();
        case ConsoleMode::Block:
            return BlockPrompt();
        case ConsoleMode::Edit:
            return EditPrompt();
    }
    return {};
}

QByteArray ConsoleEmulator::Answer(const QString& line) {
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    switch (mode_) {
        case ConsoleMode::Main:
            return AnswerAtMain(words);
        case ConsoleMode::Block:
            return AnswerAtBlock(words);
        case ConsoleMode::Edit:
            return AnswerAtEdit(words);
    }
    return {};
}

QByteArray ConsoleEmulator::AnswerAtMain(const QStringList& words) {
    const QString command = words.value(0);
    if (words.isEmpty() || (words.size() == 1 && (command == "quit" || command == ".")))
        return MainPrompt();
    if (command == "ip" || command == "mask" || command == "gateway") return AnswerNetwork(words);
    if (words == QStringList{"use", "eeprom"}) {
        mode_ = ConsoleMode::Block;
        block_ = 0;
        return BlockPrompt();
    }
    return UnknownCommand + MainPrompt();
}

QByteArray ConsoleEmulator::AnswerNetwork(const QStringList& words) {
    const QString& name = words[0];
    QString& value = name == "ip" ? Network.Ip : name == "mask" ? Network.Mask : Network.Gateway;
    if (words.size() == 1)
        return name.toUpper().toLatin1() + '=' + value.toLatin1() + NewLine + MainPrompt();
    if (words.size() == 2 && IsDottedAddress(words[1])) {
        value = words[1];
        return MainPrompt();
    }
    return OutOfRange + MainPrompt();
}

QByteArray ConsoleEmulator::AnswerAtBlock(const QStringList& words) {
    const QString command = words.value(0);
    if (words.isEmpty() || (words.size() == 1 && command == ".")) return BlockPrompt();
    if (words.size() == 1 && command == "quit") {
        mode_ = ConsoleMode::Main;
        return MainPrompt();
    }
    if (words.size() == 2 && command == "block") {
        const std::optional<int> block = ReadDecimal(words[1], EepromBlockCount - 1);
        if (!block) return OutOfRange + BlockPrompt();
        block_ = *block;
        return BlockPrompt();
    }
    if (words.size() == 2 && command == "e") return OpenAddress(words[1]);
    return UnknownCommand + BlockPrompt();
}

QByteArray ConsoleEmulator::AnswerAtEdit(const QStringList& words) {
    const QString command = words.value(0);
    if (words.isEmpty()) return EditPrompt();
    if (words.size() == 1 && command == ".") return LeaveEdit(ConsoleMode::Block);
    if (words.size() == 1 && command == "quit") return LeaveEdit(ConsoleMode::Main);
    if (words.size() == 2 && command == "e") return OpenAddress(words[1]);
    if (words.size() == 1 && command.front() >= QLatin1Char('0') &&
        command.front() <= QLatin1Char('9')) {
        const std::optional<int> value = ReadDecimal(command, 255);
        return value ? StoreValue(*value) : OutOfRange + EditPrompt();
    }
    return UnknownCommand + EditPrompt();
}

QByteArray ConsoleEmulator::OpenAddress(const QString& addressText) {
    const std::optional<int> address = ReadDecimal(addressText, EepromBlockSize - 1);
    if (!address) return OutOfRange + PromptOfMode();
    mode_ = ConsoleMode::Edit;
    address_ = *address;
    return EditPrompt();
}

QByteArray ConsoleEmulator::StoreValue(int value) {
    uint8_t& cell = Eeprom.Blocks[block_][address_];
    if (cell != value) {
        cell = static_cast<uint8_t>(value);
        unsavedEdit_ = true;
    }
    if (address_ == EepromBlockSize - 1) return LeaveEdit(ConsoleMode::Block);
    ++address_;
    return EditPrompt();
}

QByteArray ConsoleEmulator::LeaveEdit(ConsoleMode next) {
    mode_ = next;
    if (unsavedEdit_ && EepromChanged) EepromChanged(Eeprom);
    unsavedEdit_ = false;
    return PromptOfMode();
}

}  // namespace kv::sim
