#pragma once
// How the program reads numbers out of texts typed by users or printed by the console, and
// how it writes the stored numbers it shows.

#include <QString>
#include <QStringView>
#include <cstdint>

namespace kv {

// Reads the number at the start of a text: leading blanks are skipped, reading stops at
// the first character that cannot continue the number, and a text without digits is 0.
double ReadLeadingNumber(QStringView text);

// Rounds to the nearest whole number, halves to the even neighbour (62.5 -> 62).
int64_t RoundHalfEven(double value);

// A stored number as the views and the CLI show it: whole, rounded as above.
QString WholeNumberText(double value);

// A byte as the backup file writes it: two upper-case hexadecimal digits ("0A").
QString HexByteText(uint8_t byte);

}  // namespace kv
