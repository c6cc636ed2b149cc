#include <gtest/gtest.h>

#include <map>

#include "console/ConsoleLink.h"
#include "console/Messages.h"
#include "support/CoreApplication.h"
#include "support/FakeClock.h"
#include "support/SessionOnGateway.h"

namespace kv {
namespace {

using namespace std::chrono_literals;

// Bytes that reach the PC a given time after the line's carriage return was written.
struct ScriptedChunk {
    std::chrono::microseconds After;
    QByteArray Bytes;
};

// A serial port whose incoming bytes follow a script in simulated time, for the console
// link's timing without the console emulator.
class ScriptedPort : public AimedPort {
public:
    explicit ScriptedPort(test::FakeClock& clock) : clock_(clock) {}

    void Arrive(std::chrono::microseconds after, const QByteArray& bytes) {
        scheduled_.emplace(clock_.Microseconds() + uint64_t(after.count()), bytes);
    }
    // The console's answer to the next line: scheduled when its carriage return is written.
    void AnswerNextLine(std::vector<ScriptedChunk> chunks) { answer_ = std::move(chunks); }

    QByteArray Written;                  // every byte the link wrote, in order
    std::vector<uint64_t> WriteTimesUs;  // the simulated time of each of them
    int StuckTransmitBytes = 0;          // what BytesToSend reports
    int TransmitBufferReads = 0;
    // Simulated time each look at the receive buffer takes, so that bytes streaming in
    // can arrive between two looks as they do on a real line.
    std::chrono::microseconds LookTakes{0};

    QString Lost;  // what LostReason reports
    QString LostReason() const override { return Lost; }
    std::chrono::milliseconds Trip{0};
    std::chrono::milliseconds RoundTrip() const override { return Trip; }
    int KeptMs = 0;
    int ReplyTimeoutMs() const override { return KeptMs; }
    void SelectPort(int) override {}
    int SelectedPort() const override { return 1; }
    PortOpenResult Open() override { return {}; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    void ClearReceiveBuffer() override { ReadAll(); }
    int BytesWaiting() override {
        clock_.Advance(LookTakes);
        Deliver();
        return int(received_.size());
    }
    QByteArray ReadAll() override {
        Deliver();
        return std::exchange(received_, {});
    }
    int BytesToSend() override {
        ++TransmitBufferReads;
        return StuckTransmitBytes;
    }
    // Ends once the next chunk is due, on a whole millisecond of the wait as with a USB
    // adapter that hands on what it received by the millisecond; or after the whole wait.
    void WaitForData(std::chrono::microseconds maxWait) override {
        const uint64_t nowUs = clock_.Microseconds();
        if (!received_.isEmpty() || (!scheduled_.empty() && scheduled_.begin()->first <= nowUs))
            return;
        const auto untilDue =
            scheduled_.empty() ? maxWait
                               : std::chrono::ceil<std::chrono::milliseconds>(
                                     std::chrono::microseconds(scheduled_.begin()->first - nowUs));
        clock_.Advance(std::min<std::chrono::microseconds>(untilDue, maxWait));
        if (AfterWait) AfterWait();
    }
    std::function<void()> AfterWait;  // lets a test act while the link waits
    void Write(const QByteArray& bytes) override {
        for (const char byte : bytes) {
            Written += byte;
            WriteTimesUs.push_back(clock_.Microseconds());
            if (byte != '\r') continue;
            for (const ScriptedChunk& chunk : std::exchange(answer_, {}))
                Arrive(chunk.After, chunk.Bytes);
        }
    }

private:
    // Moves every chunk whose time has come into the receive buffer, in time order.
    void Deliver() {
        const auto due = scheduled_.upper_bound(clock_.Microseconds());
        for (auto chunk = scheduled_.begin(); chunk != due; ++chunk) received_ += chunk->second;
        scheduled_.erase(scheduled_.begin(), due);
    }

    test::FakeClock& clock_;
    std::multimap<uint64_t, QByteArray> scheduled_;  // by arrival time in microseconds
    std::vector<ScriptedChunk> answer_;
    QByteArray received_;
};

// A link on a scripted port, starting 100 ms before the millisecond counter wraps so that
// every time-out crosses the wrap.
struct ScriptedLine {
    test::FakeClock clock{(uint64_t(UINT32_MAX) - 100) * 1000};
    ScriptedPort port{clock};
    ConsoleLink link{port, clock};

    // Since the reply wait began, as the carriage return went out.
    std::chrono::microseconds Waited() {
        return std::chrono::microseconds(clock.Microseconds() - port.WriteTimesUs.back());
    }
};

// The command goes out character by character, then a carriage return. The reply is taken
// up to the terminator, without blanks at its edges but with those where its chunks meet and
// with its carriage returns; on a time-out it keeps what came. Bytes left from before the
// command are dropped.
TEST(ConsoleLink, CollectsTheReplyUntilTheTerminatorOrTheTimeOut) {
    const struct {
        QByteArray Stale;
        QString Command, Terminator;
        std::vector<ScriptedChunk> Reply;
        bool Ok;
        QString Text;
        QByteArray Written;
        std::chrono::milliseconds MinWait, MaxWait;
    } rows[] = {
        {"", "ip", "q>", {{2ms, "  IP=1\r\n"}, {5ms, "q> "}}, true, "IP=1\r\n", "ip\r", 4ms, 6ms},
        {"", "", ">", {{1ms, "a b "}, {3ms, " c>"}}, true, "a b  c", "\r", 2ms, 4ms},
        {"old reply>", "x", ">", {{0us, "new>"}}, true, "new", "x\r", 0ms, 2ms},
        {"", QChar(0xE9), ">", {{1ms, "\xB0>"}}, true, QChar(0xB0), "\xE9\r", 0ms, 2ms},
        {"", "x", ">", {}, false, "", "x\r", 199ms, 201ms},
        // A byte late in the wait does not restart it.
        {"", "x", ">", {{150ms, "partial"}}, false, "partial", "x\r", 199ms, 201ms},
        // An empty terminator is never found.
        {"", "x", "", {{1ms, "done>"}}, false, "done>", "x\r", 199ms, 201ms},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Written.constData());
        ScriptedLine line;
        line.link.ReplyText = "earlier";
        line.port.Arrive(0us, row.Stale);
        line.port.AnswerNextLine(row.Reply);
        EXPECT_EQ(line.link.SendCommand(row.Command, row.Terminator), row.Ok);
        EXPECT_EQ(line.link.ReplyText, row.Text);
        EXPECT_EQ(line.port.Written, row.Written);
        const std::vector<uint64_t>& times = line.port.WriteTimesUs;  // paced, byte by byte
        for (size_t i = 1; i < times.size(); ++i)
            EXPECT_GE(times[i] - times[i - 1], uint64_t(ConsoleLink::CharacterPause.count()));
        EXPECT_GE(line.Waited(), row.MinWait);
        EXPECT_LE(line.Waited(), row.MaxWait);
    }
}

// A terminator that arrives while bytes keep coming counts once the line is quiet; a line
// that never goes quiet is a time-out.
TEST(ConsoleLink, TakesTheTerminatorOnlyOnceTheLineIsQuiet) {
    const struct {
        std::chrono::milliseconds StreamUntil;
        bool Ok;
        QString Text;  // its start
        std::chrono::milliseconds MinWait, MaxWait;
    } rows[] = {{20ms, true, "ok", 19ms, 21ms}, {400ms, false, "ok>xx", 199ms, 201ms}};
    for (const auto& row : rows) {
        ScriptedLine line;
        line.port.LookTakes = 100us;
        std::vector<ScriptedChunk> chunks = {{500us, "ok>"}};
        for (auto at = std::chrono::microseconds(1ms); at < row.StreamUntil; at += 50us)
            chunks.push_back({at, "x"});
        line.port.AnswerNextLine(chunks);
        EXPECT_EQ(line.link.SendCommand("x", ">"), row.Ok);
        EXPECT_EQ(line.link.ReplyText.left(5), row.Text);
        EXPECT_GE(line.Waited(), row.MinWait);
        EXPECT_LE(line.Waited(), row.MaxWait);
    }
}

// A shorter time-out holds for its scope only. The user's time-out replaces the console's
// (or the one kept with the port) and scales the shorter ones alike; without either a
// port's round trip is added to each.
TEST(ConsoleLink, TimeOutsFollowTheScopeTheUsersTimeOutAndTheRoundTrip) {
    const struct {
        int16_t ScopeMs;
        int UserMs, KeptMs;
        std::chrono::milliseconds RoundTrip, Waits;
    } rows[] = {{50, 0, 0, 0ms, 50ms},      {200, 0, 0, 0ms, 200ms},    {200, 1000, 0, 0ms, 1000ms},
                {50, 1000, 0, 0ms, 250ms},  {200, 0, 0, 30ms, 230ms},   {50, 0, 0, 30ms, 80ms},
                {50, 1, 0, 30ms, 1ms},      {200, 800, 0, 30ms, 800ms}, {200, 0, 600, 30ms, 600ms},
                {200, 400, 600, 0ms, 400ms}};
    for (const auto& row : rows) {
        ScriptedLine line;
        line.link.UserReplyTimeoutMs = row.UserMs;
        line.port.Trip = row.RoundTrip;
        line.port.KeptMs = row.KeptMs;
        {
            ReplyTimeoutScope scope(line.link, row.ScopeMs);
            EXPECT_FALSE(line.link.SendCommand("x", ">"));
            EXPECT_GE(line.Waited(), row.Waits - 1ms);
            EXPECT_LE(line.Waited(), row.Waits + 1ms);
        }
        EXPECT_EQ(line.link.ReplyTimeoutMs, 200);
    }
}

TEST(ConsoleLink, FailsAtTheTenthReadWhenTheTransmitBufferDoesNotDrain) {
    ScriptedLine line;
    line.link.ReplyText = "earlier";
    line.port.StuckTransmitBytes = 1;
    line.port.AnswerNextLine({{0us, ">"}});
    EXPECT_FALSE(line.link.SendCommand("x", ">"));
    EXPECT_EQ(line.port.TransmitBufferReads, 10);
    EXPECT_EQ(line.link.ReplyText, "earlier");
}

// Past the operation's bound, or once the device is gone, exchanges fail at once and say
// why, also when the device went while the reply was awaited; once a stop is requested (a
// stop signal, a window's Cancel) they fail at once, sending nothing, and say so; a stop
// requested while a long reply wait runs ends it within a tenth of a second. The first end
// seen is the operation's.
TEST(ConsoleLink, FailsAtOnceWhenTheDeviceIsLostTheBoundHasPassedOrAStopIsRequested) {
    const auto never = -1ms;
    const struct {
        std::chrono::milliseconds Bound, LostAt, StopAt;  // into the operation
        int UserMs;
        LinkEnd End;
        QString Detail;
        uint64_t MaxUs;
        QByteArray Written;
    } rows[] = {{100ms, never, never, 0, LinkEnd::OutOfTime, "", 101000, "x\r"},
                {1s, 0ms, never, 0, LinkEnd::DeviceLost, "Input/output error", 0, ""},
                {1s, 150ms, never, 0, LinkEnd::DeviceLost, "Input/output error", 201000, "x\r"},
                {1s, never, 0ms, 0, LinkEnd::Stopped, "", 0, ""},                   // a signal
                {60s, never, 2500ms, 15000, LinkEnd::Stopped, "", 2600000, "x\r"},  // Cancel
                {100ms, 150ms, 50ms, 0, LinkEnd::Stopped, "", 101000, "x\r"}};
    for (const auto& row : rows) {
        ScriptedLine line;
        StopRequest stop;
        line.link.Stop = &stop;
        line.link.UserReplyTimeoutMs = row.UserMs;
        line.link.BoundOperation(row.Bound);
        const uint64_t startUs = line.clock.Microseconds();
        const auto reached = [&](std::chrono::milliseconds at) {
            return at >= 0ms && line.clock.Microseconds() - startUs >= uint64_t(at.count()) * 1000;
        };
        const auto act = [&] {
            if (reached(row.StopAt)) stop.Request();
            if (reached(row.LostAt)) line.port.Lost = "Input/output error";
        };
        act();
        line.port.AfterWait = act;
        line.port.AnswerNextLine({{20s, ">"}});
        EXPECT_FALSE(line.link.SendCommand("x", ">"));
        EXPECT_EQ(line.link.End().Kind, row.End);
        EXPECT_EQ(line.link.End().Detail, row.Detail);
        EXPECT_LE(line.clock.Microseconds() - startUs, row.MaxUs);
        EXPECT_EQ(line.port.Written, row.Written);
    }
}

// The value is digits only, with blanks around them; a byte that cannot be read leaves the
// value as it was (99 here). The reply text of the last command stays as it was either way.
TEST(ConsoleLink, ReadsTheByteAfterTheKeyOrLeavesTheValueUntouched) {
    const struct {
        QByteArray Reply;
        QString Key;
        bool Read;
        uint8_t Value;
    } cases[] = {
        {"e 16\r\nB(16)= 12 -->", "B(16)=", true, 12},
        {"B(16)=255-->", "B(16)=", true, 255},
        {"B(16)= 12 ", "B(16)=", false, 99},      // no edit prompt: time-out
        {"B(11)= 7 -->", "B(1)=", false, 99},     // the line of another address
        {"B(16)= 256 -->", "B(16)=", false, 99},  // not a byte
        {"B(16)=0012 -->", "B(16)=", false, 99},
        {"B(16)= -->", "B(16)=", false, 99},  // garbled: no digits, or more than digits
        {"B(16)=6\xFF -->", "B(16)=", false, 99},
        {"B(16)=-1-->", "B(16)=", false, 99},
        {"B(16)=12\r\n-->", "B(16)=", false, 99},
        {"B(16)=1 7 -->", "B(16)=", false, 99},  // a digit garbled into a blank
        {"B(16)= 12 -->", "", false, 99},
        {"-->B(16)= 12", "B(16)=", false, 99},  // the key after the prompt
    };
    ScriptedLine line;
    line.link.ReplyText = "IP=10.0.0.1\r\n";
    for (const auto& c : cases) {
        line.port.AnswerNextLine({{1ms, c.Reply}});
        uint8_t value = 99;
        EXPECT_EQ(line.link.ReadConsoleByte("e 16", c.Key, value), c.Read) << c.Reply.constData();
        EXPECT_EQ(value, c.Value) << c.Reply.constData();
    }
    EXPECT_EQ(line.port.Written, QByteArray("e 16\r").repeated(std::size(cases)));
    EXPECT_EQ(line.link.ReplyText, "IP=10.0.0.1\r\n");
}

// The gateway session runs one operation at a time. That it takes the next once one has
// ended, and how the port is opened and closed around the windows' operations whatever
// their outcome: MainWindowTest.
TEST(GatewaySession, ASecondRequestWhileOneRunsIsRefused) {
    test::EnsureCoreApplication();
    test::SimulatedGateway gateway;
    GatewaySession session(test::DevicesOf(gateway));
    QObject context;
    QStringList finished;
    const auto work = [](ConsoleLink&, const ProgressFn&) { return true; };
    EXPECT_TRUE(session.Run<bool>(&context, work, {}, [&](bool) { finished << "first"; }));
    EXPECT_FALSE(session.Run<bool>(&context, work, {}, [&](bool) { finished << "second"; }));
    test::WaitUntilIdle(session);
    EXPECT_EQ(finished, QStringList{"first"});
}

}  // namespace
}  // namespace kv
