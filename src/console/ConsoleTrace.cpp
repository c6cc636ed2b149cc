#include "console/ConsoleTrace.h"

namespace kv {

QString EscapedConsoleText(const QByteArray& bytes) {
    QString text;
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

void ConsoleTrace::Sent(uint64_t nowUs, const QByteArray& line) {
    events_.push_back({nowUs, true, line});
}

void ConsoleTrace::Received(uint64_t nowUs, const QByteArray& chunk) {
    if (!chunk.isEmpty()) events_.push_back({nowUs, false, chunk});
}

QString ConsoleTrace::Text() const {
    QString text;
    if (events_.empty()) return text;
    const uint64_t startUs = events_.front().Us;
    for (const Event& event : events_)
        text += QStringLiteral("%1 %2 %3\n")
                    .arg(double(event.Us - startUs) / 1000.0, 10, 'f', 3)
                    .arg(event.Out ? QStringLiteral("->") : QStringLiteral("<-"))
                    .arg(EscapedConsoleText(event.Bytes));
    return text;
}

QString ConsoleTrace::LastExchange() const {
    auto sent = events_.rbegin();
    while (sent != events_.rend() && !sent->Out) ++sent;
    if (sent == events_.rend()) return {};
    QByteArray reply;
    for (auto event = sent.base(); event != events_.end(); ++event) reply += event->Bytes;
    return QStringLiteral("Last command sent: \"%1\"; received: \"%2\"")
        .arg(EscapedConsoleText(sent->Bytes), EscapedConsoleText(reply));
}

}  // namespace kv
