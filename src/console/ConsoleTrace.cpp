#include "console/ConsoleTrace.h"

namespace kv {

QString EscapedConsoleText(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = uint8_t(c);
        if (c == '\r')
            text += QStringLiteral("\\r");
        else if (c == '\n')
            text += QStringLiteral("\\n");
        else if (c == '\\')
            text += QStringLiteral("\\\\");
        else if (byte < 0x20 || byte >= 0x7f)
            text += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
        else
            text += QLatin1Char(c);
    }
    return text;
}

void ConsoleTrace::Sent(uint64_t nowUs, QByteArrayView line) { Add(nowUs, line, true); }

void ConsoleTrace::Received(uint64_t nowUs, QByteArrayView chunk) {
    if (!chunk.isEmpty()) Add(nowUs, chunk, false);
}

void ConsoleTrace::Clear() {
    events_.clear();
    bytes_.clear();
}

void ConsoleTrace::Add(uint64_t nowUs, QByteArrayView bytes, bool out) {
    bytes_.append(bytes);
    events_.push_back({nowUs, uint32_t(bytes_.size()), out});
}

QByteArrayView ConsoleTrace::BytesOf(size_t index) const {
    const uint32_t start = index == 0 ? 0 : events_[index - 1].End;
    return QByteArrayView(bytes_).sliced(start, events_[index].End - start);
}

QString ConsoleTrace::Text() const {
    QString text;
    if (events_.empty()) return text;
    const uint64_t startUs = events_.front().Us;
    for (size_t i = 0; i < events_.size(); ++i)
        text += QStringLiteral("%1 %2 %3\n")
                    .arg(double(events_[i].Us - startUs) / 1000.0, 10, 'f', 3)
                    .arg(events_[i].Out ? QStringLiteral("->") : QStringLiteral("<-"))
                    .arg(EscapedConsoleText(BytesOf(i)));
    return text;
}

QString ConsoleTrace::LastExchange() const {
    size_t sent = events_.size();
    while (sent > 0 && !events_[sent - 1].Out) --sent;
    if (sent == 0) return {};
    const uint32_t replyStart = events_[sent - 1].End;
    const QByteArrayView reply = QByteArrayView(bytes_).sliced(replyStart);
    return QStringLiteral("Last command sent: \"%1\"; received: \"%2\"")
        .arg(EscapedConsoleText(BytesOf(sent - 1)), EscapedConsoleText(reply));
}

bool ConsoleTrace::HeardNothing() const {
    for (size_t i = 0; i < events_.size(); ++i)
        if (!events_[i].Out && !BytesOf(i).empty()) return false;
    return !events_.empty();
}

}  // namespace kv
