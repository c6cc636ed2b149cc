#include "platform/TelnetComPortControl.h"

#include <initializer_list>
#include <iterator>
#include <utility>

namespace kv {
namespace {

// Telnet commands (RFC 854) and options.
constexpr uint8_t Iac = 255, Dont = 254, Do = 253, Wont = 252, Will = 251, Sb = 250, Se = 240;
constexpr uint8_t Binary = 0, SuppressGoAhead = 3, ComPortOption = 44;
// COM port control commands (RFC 2217); the server answers each with the code plus 100.
constexpr uint8_t SetBaudRate = 1, SetDataSize = 2, SetParity = 3, SetStopSize = 4;
constexpr uint8_t ServerOffset = 100;
// A subnegotiation longer than any this client understands is cut off, not collected.
constexpr qsizetype MaxSubnegotiation = 64;

QByteArray Bytes(std::initializer_list<uint8_t> values) {
    QByteArray bytes;
    for (const uint8_t value : values) bytes.append(char(value));
    return bytes;
}

QByteArray Command(uint8_t verb, uint8_t option) { return Bytes({Iac, verb, option}); }

QByteArray DoubledIac(const QByteArray& bytes) {
    QByteArray doubled;
    doubled.reserve(bytes.size());
    for (const char byte : bytes) {
        doubled.append(byte);
        if (uint8_t(byte) == Iac) doubled.append(byte);
    }
    return doubled;
}

QByteArray Subnegotiation(uint8_t command, const QByteArray& value) {
    return Bytes({Iac, Sb, ComPortOption, command}) + DoubledIac(value) + Bytes({Iac, Se});
}

// A line setting the server answered, in words: "9600 bit/s", "7 data bits", "even parity".
QString SettingText(uint8_t command, const QByteArray& value) {
    quint64 number = 0;  // network byte order, at most 4 bytes for a baud rate
    for (const char byte : value.left(4)) number = number << 8 | uint8_t(byte);
    switch (command) {
        case SetBaudRate:
            return QStringLiteral("%1 bit/s").arg(number);
        case SetDataSize:
            return QStringLiteral("%1 data bits").arg(number);
        case SetParity:
            return ParityText(uint32_t(number));
        default:
            return StopBitsText(uint32_t(number));
    }
}

}  // namespace

// The line settings asked for, command code and value, in the order they are sent; the baud
// rate in network byte order.
TelnetComPortControl::TelnetComPortControl(const LineSettings& line)
    : asked_{{
          {SetBaudRate, Bytes({uint8_t(line.BaudRate >> 24), uint8_t(line.BaudRate >> 16),
                               uint8_t(line.BaudRate >> 8), uint8_t(line.BaudRate)})},
          {SetDataSize, Bytes({line.DataBits})},
          {SetParity, Bytes({uint8_t(line.Parity)})},
          {SetStopSize, Bytes({uint8_t(line.StopBits)})},
      }} {}

QByteArray TelnetComPortControl::Opening() {
    return Command(Will, ComPortOption) + Command(Will, Binary) + Command(Do, Binary);
}

QByteArray TelnetComPortControl::Encode(const QByteArray& data) const {
    QByteArray encoded = DoubledIac(data);
    // Outside binary mode a carriage return alone is sent as CR NUL (RFC 854).
    if (!sendBinary_.On) encoded.replace("\r", QByteArray("\r\0", 2));
    return encoded;
}

QByteArray TelnetComPortControl::TakeAnswers() {
    QByteArray taken;
    taken.swap(answers_);
    return taken;
}

QByteArray TelnetComPortControl::Decode(const QByteArray& bytes) {
    QByteArray data;
    for (const char byte : bytes) {
        const auto value = uint8_t(byte);
        switch (parse_) {
            case Parse::Data:
                if (value == Iac) {
                    parse_ = Parse::Command;
                } else if (!(value == 0 && lastWasCarriageReturn_ && !receiveBinary_.On)) {
                    data.append(byte);
                }
                lastWasCarriageReturn_ = value == '\r';
                break;
            case Parse::Command:
                parse_ = Parse::Data;
                if (value == Iac) data.append(byte);
                if (value >= Will && value <= Dont) {
                    verb_ = value;
                    parse_ = Parse::Option;
                }
                if (value == Sb) {
                    sub_.clear();
                    parse_ = Parse::Sub;
                }
                // Any other command (NOP, GA, ...) carries nothing for the console.
                break;
            case Parse::Option:
                OnOption(verb_, value);
                parse_ = Parse::Data;
                break;
            case Parse::Sub:
                if (value == Iac)
                    parse_ = Parse::SubCommand;
                else if (sub_.size() < MaxSubnegotiation)
                    sub_.append(byte);
                break;
            case Parse::SubCommand:
                parse_ = Parse::Sub;
                if (value == Iac && sub_.size() < MaxSubnegotiation) sub_.append(byte);
                if (value == Se) {
                    OnSubnegotiation();
                    parse_ = Parse::Data;
                }
                break;
        }
    }
    return data;
}

// Options the server asks for or offers. Only binary transmission, suppressed go-ahead and
// the COM port control are taken; any other (echo, line mode) would change the console's
// bytes and is refused. An option is answered only when its state changes, so that two
// programs cannot loop on it (RFC 854).
void TelnetComPortControl::OnOption(uint8_t verb, uint8_t option) {
    const bool on = verb == Do || verb == Will;
    const bool ours = verb == Do || verb == Dont;  // about what we send
    if (option == ComPortOption) {
        if (verb == Dont && (state_ == State::Negotiating || state_ == State::Agreed))
            state_ = State::OptionRefused;
        if (verb == Do && !settingsSent_) {
            settingsSent_ = true;
            for (const auto& [command, value] : asked_) answers_ += Subnegotiation(command, value);
        }
        return;
    }
    OptionSide* side = nullptr;
    if (option == Binary) side = ours ? &sendBinary_ : &receiveBinary_;
    if (option == SuppressGoAhead) side = ours ? &sendWithoutGoAhead_ : &receiveWithoutGoAhead_;
    if (side == nullptr) {
        if (on) Answer(ours ? Wont : Dont, option);
        return;
    }
    // The answer to what we asked for is taken as it is; a request is agreed to.
    if (!std::exchange(side->Asked, false) && side->On != on)
        Answer(ours ? (on ? Will : Wont) : (on ? Do : Dont), option);
    side->On = on;
}

void TelnetComPortControl::Answer(uint8_t verb, uint8_t option) {
    answers_ += Command(verb, option);
}

// The server's answer to a line setting is the value it has set, and so is a setting it
// makes of its own later; other notices (line and modem state) carry nothing this client
// needs. Before the server took the option they answer nothing that was asked.
void TelnetComPortControl::OnSubnegotiation() {
    if (!settingsSent_ || sub_.size() < 2 || uint8_t(sub_.at(0)) != ComPortOption) return;
    const int command = uint8_t(sub_.at(1)) - ServerOffset;
    if (command < SetBaudRate || command > SetStopSize) return;
    answered_[size_t(command - SetBaudRate)] = sub_.mid(2);
    CheckLineSettings();
}

void TelnetComPortControl::CheckLineSettings() {
    if (state_ != State::Negotiating && state_ != State::Agreed) return;
    bool allAnswered = true;
    for (size_t i = 0; i < asked_.size(); ++i) {
        if (!answered_[i]) {
            allAnswered = false;
        } else if (*answered_[i] != asked_[i].second) {
            serverSetting_ = SettingText(asked_[i].first, *answered_[i]);
            state_ = state_ == State::Agreed ? State::LineChanged : State::SettingsRefused;
            return;
        }
    }
    if (allAnswered) state_ = State::Agreed;
}

}  // namespace kv
