#include "platform/LineSettings.h"

#include <iterator>

namespace kv {
namespace {

// The names of parity and stop size codes, from 1 on.
const char* const ParityNames[] = {"no parity", "odd parity", "even parity", "mark parity",
                                   "space parity"};
const char* const StopBitNames[] = {"1 stop bit", "2 stop bits", "1.5 stop bits"};

template <typename Names>
QString Named(const Names& names, uint32_t code, const char* kind) {
    return code >= 1 && code <= std::size(names)
               ? QString::fromLatin1(names[code - 1])
               : QStringLiteral("%1 %2").arg(QLatin1String(kind)).arg(code);
}

}  // namespace

QString ParityText(uint32_t code) { return Named(ParityNames, code, "parity"); }

QString StopBitsText(uint32_t code) { return Named(StopBitNames, code, "stop size"); }

QString LineSettings::Text() const {
    return QStringLiteral("%1 bit/s, %2 data bits, %3, %4")
        .arg(BaudRate)
        .arg(DataBits)
        .arg(ParityText(uint32_t(Parity)), StopBitsText(uint32_t(StopBits)));
}

}  // namespace kv
