#pragma once
// How the program reads numbers out of texts typed by users or printed by the console, and
// how it writes the stored numbers it shows.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace kv {

// Reads the number at the start of a text: leading blanks are skipped, reading stops at
// the first character that cannot continue the number, and a text without digits is 0.
double ReadLeadingNumber(QStringView text);

// A byte as the console prints it and an address part is written: one to three decimal
// digits worth 0..255 and nothing else. Nothing for any other text, since a sign, a blank
// or a stray character there is line noise or a typing error, not a value to keep.
std::optional<uint8_t> ReadDecimalByte(QStringView text);

// The text without the spaces at either end, the console's padding. Other white space
// stays: a line feed or a tab inside a value is part of the value.
QStringView TrimSpaces(QStringView text);

// Rounds to the nearest whole number, halves to the even neighbour (62.5 -> 62).
int64_t RoundHalfEven(double value);

// A stored number as the views and the CLI show it: whole, rounded as above.
QString WholeNumberText(double value);

// A count with its noun in proper English: "1 command", "2 commands", "0 warnings".
QString CountText(qsizetype count, const char* noun);

// A byte as the backup file writes it: two upper-case hexadecimal digits ("0A").
QString HexByteText(uint8_t byte);

}  // namespace kv
