#pragma once
// Modbus ASCII framing: a colon, the message (unit ID and protocol data unit) and its LRC as
// upper-case hexadecimal pairs, CR LF. Written here because neither libmodbus nor Qt Serial
// Bus frames Modbus ASCII, and the serial classes of the gateway may use it.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>

namespace kv {

// The longitudinal redundancy check: the two's complement of the bytes' sum.
uint8_t AsciiLrc(QByteArrayView message);

// ":0103000A0001F1\r\n" for the message 01 03 00 0A 00 01.
QByteArray AsciiFrame(QByteArrayView message);

// The message of a whole frame (from the colon to CR LF), its LRC checked and taken off.
struct AsciiMessage {
    QByteArray Message;
    QString Failure;  // what makes the frame none: "LRC 12, not F1"
};
AsciiMessage AsciiMessageOf(QByteArrayView frame);

}  // namespace kv
