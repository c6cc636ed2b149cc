#pragma once
// The client side of a telnet connection with the COM port control option (RFC 2217), as
// pure byte work: what to send when the connection opens, the console's data to and from
// the telnet stream (0xFF doubled as IAC IAC), the answers to the server's option requests,
// and whether the server took the option and the line settings asked for (LineSettings.h),
// and keeps them: a line setting counts only once the server has taken
// the option, and one it changes later ends the agreement. The socket around it is
// NetworkSerialPort.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include "platform/LineSettings.h"

namespace kv {

class TelnetComPortControl {
public:
    enum class State {
        Negotiating,      // the server's answers are still to come
        Agreed,           // the option is on and the line is set as asked
        OptionRefused,    // the server will not control the port (DONT COM-PORT-OPTION)
        SettingsRefused,  // the server answered a line setting other than the one asked for
        LineChanged,      // after agreeing, the server set the line otherwise
    };

    explicit TelnetComPortControl(const LineSettings& line = ConsoleLine);

    // Offers the option and binary transmission both ways.
    static QByteArray Opening();
    // The console's bytes as the telnet stream carries them.
    QByteArray Encode(const QByteArray& data) const;
    // Takes bytes from the server and returns the console's data in them; telnet commands
    // are taken out, and what they call for waits in TakeAnswers().
    QByteArray Decode(const QByteArray& bytes);
    QByteArray TakeAnswers();
    State Progress() const { return state_; }
    // For SettingsRefused and LineChanged: the setting the server made, as "9600 bit/s".
    QString ServerSetting() const { return serverSetting_; }

private:
    enum class Parse { Data, Command, Option, Sub, SubCommand };

    void OnOption(uint8_t verb, uint8_t option);
    void OnSubnegotiation();
    void Answer(uint8_t verb, uint8_t option);
    void CheckLineSettings();

    Parse parse_ = Parse::Data;
    uint8_t verb_ = 0;
    bool lastWasCarriageReturn_ = false;
    QByteArray sub_;
    QByteArray answers_;
    // One direction of an option: whether it is on, and whether we asked for a change the
    // server has not answered yet (its reply is then no request to answer).
    struct OptionSide {
        bool On = false;
        bool Asked = false;
    };
    // The opening asks for binary transmission both ways.
    OptionSide sendBinary_{false, true};
    OptionSide receiveBinary_{false, true};
    OptionSide sendWithoutGoAhead_;
    OptionSide receiveWithoutGoAhead_;
    // The server took the option (DO COM-PORT-OPTION) and the line settings went out: only
    // from then on are its line settings answers.
    bool settingsSent_ = false;
    // The line settings asked for: command code and value, in the order they are sent.
    std::array<std::pair<uint8_t, QByteArray>, 4> asked_;
    // The server's answers to the four line settings, in the order they are asked for.
    std::array<std::optional<QByteArray>, 4> answered_;
    State state_ = State::Negotiating;
    QString serverSetting_;
};

}  // namespace kv
