#include "console/ConsoleLink.h"

#include <algorithm>

#include "config/NumberText.h"

namespace kv {

using namespace std::chrono_literals;

// The pacing of the link, all in one place. The console reads its input without a buffer,
// so it needs a gap after every character and a moment after each line.
const std::chrono::microseconds ConsoleLink::CharacterPause = 200us;
const std::chrono::microseconds ConsoleLink::LinePause = 200us;
// A stop is seen within a tenth of a second; a longer wait for a reply than that is rare
// (a slow network port, a long --reply-timeout), so the extra wake-ups cost nothing.
const std::chrono::microseconds ConsoleLink::StopLookInterval = 100ms;

namespace {

// The longest the link sleeps between looks at the port while the transmit buffer drains.
constexpr std::chrono::microseconds TransmitPollWait = 200us;
constexpr int MaxTransmitBufferReads = 10;

constexpr char CarriageReturn = '\r';
const QString EditPrompt = QStringLiteral("-->");

// Where the first of `terminators` to appear in `text` starts; -1 while none has. An empty
// terminator is never found.
qsizetype FirstTerminatorAt(const QString& text, const QStringList& terminators) {
    qsizetype first = -1;
    for (const QString& terminator : terminators) {
        if (terminator.isEmpty()) continue;
        const qsizetype at = text.indexOf(terminator);
        if (at >= 0 && (first < 0 || at < first)) first = at;
    }
    return first;
}

// When the character after one written at `writtenUs` may go out. Each character is due a
// pause after the one before it was due, so that a sleep that wakes late (by the system's
// timer slack at least) is made up at the next character instead of adding up over the
// line. A late character still gets half a pause, more than its own time on the line, so
// that a wake-up delayed by a busy machine never sends characters back to back to a console
// that cannot buffer them.
uint64_t NextCharacterDue(uint64_t dueUs, uint64_t writtenUs) {
    const auto pauseUs = uint64_t(ConsoleLink::CharacterPause.count());
    return std::max(dueUs + pauseUs, writtenUs + pauseUs / 2);
}

}  // namespace

ConsoleLink::ConsoleLink(AimedPort& port, Clock& clock) : port_(port), clock_(clock) {}

bool ConsoleLink::SendCommand(const QString& command, const QString& terminator, LineKind kind) {
    if (!SendLine(command, kind)) return false;
    return CollectReply({terminator}, ReplyText);
}

bool ConsoleLink::SendCommand(const QString& command, const QStringList& terminators) {
    if (!SendLine(command, LineKind::Asks)) return false;
    return CollectReply(terminators, ReplyText);
}

bool ConsoleLink::ReadConsoleByte(const QString& command, const QString& key, uint8_t& value,
                                  LineKind kind) {
    if (!SendLine(command, kind)) return false;
    QString reply;
    if (!CollectReply({EditPrompt}, reply)) return false;

    const QStringView body = TrimSpaces(reply);
    const QStringView trimmedKey = TrimSpaces(key);
    if (trimmedKey.isEmpty()) return false;
    const qsizetype keyAt = body.indexOf(trimmedKey);
    if (keyAt < 0) return false;

    // The console prints the value and then the prompt, with nothing but blanks around the
    // digits; anything else there is a garbled line, not a byte to keep.
    const std::optional<uint8_t> read =
        ReadDecimalByte(TrimSpaces(body.sliced(keyAt + trimmedKey.size())));
    if (!read) return false;
    value = *read;
    return true;
}

void ConsoleLink::BoundOperation(std::chrono::milliseconds length) {
    operationStartUs_ = clock_.Microseconds();
    boundMs_ = length.count();
    end_ = {};
    changeSent_ = false;
}

int64_t ConsoleLink::ReplyTimeoutFor(int nominalMs) const {
    const int userMs = UserReplyTimeoutMs > 0 ? UserReplyTimeoutMs : port_.ReplyTimeoutMs();
    if (userMs > 0)
        return std::max<int64_t>(1, int64_t(nominalMs) * userMs / ConsoleReplyTimeoutMs);
    return nominalMs + port_.RoundTrip().count();
}

uint64_t ConsoleLink::BoundEndUs() const {
    if (boundMs_ < 0) return UINT64_MAX;
    // Bounds are made of console exchanges; longer time-outs stretch them alike.
    const int64_t stretchedMs =
        boundMs_ *
        std::max<int64_t>(ReplyTimeoutFor(ConsoleReplyTimeoutMs), ConsoleReplyTimeoutMs) /
        ConsoleReplyTimeoutMs;
    return operationStartUs_ + uint64_t(stretchedMs) * 1000;
}

// The one place that decides whether the operation goes on, asked on every pass of every
// wait. A device that went away answers nothing: waiting for each remaining reply would only
// delay the failure, and a wait that cannot end must not hold the operation either. The
// first end seen stays the operation's.
bool ConsoleLink::Ended() {
    if (end_.Kind != LinkEnd::None) return true;
    if (Stop != nullptr && Stop->Requested())
        end_ = {LinkEnd::Stopped, {}};
    else if (const QString lost = port_.LostReason(); !lost.isEmpty())
        end_ = {LinkEnd::DeviceLost, lost};
    else if (clock_.Microseconds() >= BoundEndUs())
        end_ = {LinkEnd::OutOfTime, {}};
    return end_.Kind != LinkEnd::None;
}

bool ConsoleLink::SendLine(const QString& command, LineKind kind) {
    if (Ended()) return false;
    // The moment the console needs after a line has nearly always passed while its reply
    // came; a sleep right after the line would cost a wake-up for every line.
    PauseUntil(nextLineDueUs_);
    // Whatever an earlier exchange left behind would be taken for this command's reply.
    if (port_.BytesWaiting() > 0) Trace.Received(clock_.Microseconds(), port_.ReadAll());

    const QByteArray line = command.toLatin1() + CarriageReturn;
    uint64_t dueUs = clock_.Microseconds();
    for (qsizetype i = 0; i + 1 < line.size(); ++i) {
        port_.Write(line.sliced(i, 1));
        dueUs = NextCharacterDue(dueUs, clock_.Microseconds());
        PauseUntil(dueUs);
    }
    port_.Write(line.sliced(line.size() - 1));
    if (kind == LineKind::Changes) changeSent_ = true;
    Trace.Sent(clock_.Microseconds(), line);
    nextLineDueUs_ = clock_.Microseconds() + uint64_t(LinePause.count());
    return WaitForTransmitBuffer();
}

bool ConsoleLink::WaitForTransmitBuffer() {
    for (int read = 1; port_.BytesToSend() != 0; ++read) {
        if (read == MaxTransmitBufferReads || Ended()) return false;
        clock_.Sleep(TransmitPollWait);
    }
    return true;
}

// A stop seen here does not shorten the pause: the line under way goes out whole, paced.
void ConsoleLink::PauseUntil(uint64_t endUs) {
    for (uint64_t nowUs = clock_.Microseconds();
         nowUs < endUs && (!Ended() || end_.Kind == LinkEnd::Stopped);
         nowUs = clock_.Microseconds())
        clock_.Sleep(std::chrono::microseconds(endUs - nowUs));
}

// Collects the reply into `reply` until one of `terminators` is in it and the line is quiet,
// then cuts it before that terminator. On a time-out `reply` keeps what had arrived. Until the
// terminator is in, the link sleeps on the port until data comes or time is up: looking
// again and again while the console thinks would cost a wake-up each time.
bool ConsoleLink::CollectReply(const QStringList& terminators, QString& reply) {
    reply.clear();
    bool complete = false;
    const uint32_t startMs = clock_.Milliseconds();
    while (!TimedOut(startMs) && !Ended()) {
        const qsizetype terminatorAt = FirstTerminatorAt(reply, terminators);
        // The line is quiet when a look finds nothing after what was read.
        if (terminatorAt >= 0 && port_.BytesWaiting() == 0) {
            reply.truncate(terminatorAt);
            complete = true;
            break;
        }
        if (terminatorAt < 0) port_.WaitForData(WaitLeft(startMs));
        AppendWaitingChunk(reply);
    }
    // A device that went away while the reply was awaited is named, not taken for silence.
    if (!complete) Ended();
    // The console pads its output with spaces. They go from the edges of the reply, never
    // from where two chunks meet: taking them there would join what stands on either side,
    // and a digit garbled into a blank would turn "1 7" into 17.
    reply = TrimSpaces(reply).toString();
    return complete;
}

// Until the reply's time-out, or the operation's bound when that comes first (none is set
// before the first operation, so the bound may be far off); a link that can be stopped looks
// at its stop request in between.
std::chrono::microseconds ConsoleLink::WaitLeft(uint32_t startMs) {
    const uint32_t elapsedMs = clock_.Milliseconds() - startMs;
    const auto replyLeftUs =
        uint64_t(std::max<int64_t>(ReplyTimeoutFor(ReplyTimeoutMs) - int64_t(elapsedMs), 1)) * 1000;
    const uint64_t nowUs = clock_.Microseconds();
    const uint64_t boundEndUs = BoundEndUs();
    const uint64_t boundLeftUs = boundEndUs > nowUs ? boundEndUs - nowUs : 0;
    const uint64_t leftUs = std::min(replyLeftUs, boundLeftUs);
    if (Stop == nullptr) return std::chrono::microseconds(leftUs);
    return std::chrono::microseconds(std::min<uint64_t>(leftUs, StopLookInterval.count()));
}

bool ConsoleLink::TimedOut(uint32_t startMs) {
    // Unsigned difference: still right after the millisecond counter wraps.
    const uint32_t elapsedMs = clock_.Milliseconds() - startMs;
    return int64_t(elapsedMs) >= ReplyTimeoutFor(ReplyTimeoutMs);
}

void ConsoleLink::AppendWaitingChunk(QString& reply) {
    const QByteArray chunk = port_.ReadAll();
    Trace.Received(clock_.Microseconds(), chunk);
    // Carriage returns and line feeds are kept: callers find the end of a value by its
    // carriage return.
    reply += QString::fromLatin1(chunk);
}

}  // namespace kv
