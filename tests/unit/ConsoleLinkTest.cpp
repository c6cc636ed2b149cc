#include <gtest/gtest.h>

#include "ScriptedPort.h"
#include "console/ConsoleLink.h"

namespace kv {
namespace {

using namespace std::chrono_literals;
using test::ScriptedChunk;

class ConsoleLinkTest : public ::testing::Test {
protected:
    test::FakeClock clock;
    test::ScriptedPort port{clock};
    ConsoleLink link{port, clock};

    // When the reply wait began: the pause after the carriage return has passed.
    uint64_t WaitStartUs() const {
        return port.WriteTimesUs.back() + uint64_t(ConsoleLink::LinePause.count());
    }
    std::chrono::microseconds WaitedSoFar() {
        return std::chrono::microseconds(clock.Microseconds() - WaitStartUs());
    }
    // Bytes every `gap` from `from` to `until` after the line is sent.
    static std::vector<ScriptedChunk> Stream(std::chrono::microseconds from,
                                             std::chrono::microseconds until,
                                             std::chrono::microseconds gap) {
        std::vector<ScriptedChunk> chunks;
        for (auto at = from; at < until; at += gap) chunks.push_back({at, "x"});
        return chunks;
    }
};

TEST_F(ConsoleLinkTest, JoinsReplyChunksLosingBlanksAtTheirEdgesAndKeepingCarriageReturns) {
    port.AnswerNextLine({{2ms, "  IP=192.168.255.1\r\n"}, {5ms, "q5308RT> "}});
    ASSERT_TRUE(link.SendCommand("ip", "q5308RT>"));
    EXPECT_EQ(link.ReplyText, "IP=192.168.255.1\r\n");

    port.AnswerNextLine({{1ms, "a b "}, {3ms, " c>"}});
    ASSERT_TRUE(link.SendCommand("", ">"));
    EXPECT_EQ(link.ReplyText, "a bc");
    EXPECT_TRUE(port.Written.endsWith("ip\r\r")) << "an empty command is a bare carriage return";
}

// A terminator that arrives while bytes keep coming counts once the line is quiet; a line
// that never goes quiet is a time-out.
TEST_F(ConsoleLinkTest, RecognisesTheTerminatorOnceTheLineIsQuiet) {
    port.LookTakes = 100us;
    auto chunks = Stream(1ms, 20ms, 50us);
    chunks.insert(chunks.begin(), {500us, "ok>"});
    port.AnswerNextLine(chunks);
    EXPECT_TRUE(link.SendCommand("x", ">"));
    EXPECT_EQ(link.ReplyText, "ok");
    EXPECT_GE(WaitedSoFar(), 19ms);
    EXPECT_EQ(port.BytesWaiting(), 0);
}

TEST_F(ConsoleLinkTest, ALineThatNeverGoesQuietIsATimeout) {
    port.LookTakes = 100us;
    auto chunks = Stream(1ms, 400ms, 50us);
    chunks.insert(chunks.begin(), {500us, "ok>"});
    port.AnswerNextLine(chunks);
    EXPECT_FALSE(link.SendCommand("x", ">"));
    EXPECT_TRUE(link.ReplyText.startsWith("ok>xx"));
    EXPECT_GE(WaitedSoFar(), 199ms);
    EXPECT_LE(WaitedSoFar(), 201ms);
}

TEST_F(ConsoleLinkTest, TimesOutCountingFromTheStartOfTheWait) {
    link.ReplyText = "earlier";
    EXPECT_FALSE(link.SendCommand("x", ">"));
    EXPECT_GE(WaitedSoFar(), 199ms);
    EXPECT_LE(WaitedSoFar(), 201ms);
    EXPECT_EQ(link.ReplyText, "");

    // A byte late in the wait does not restart it; what came stays in the reply.
    port.AnswerNextLine({{150ms, "partial"}});
    EXPECT_FALSE(link.SendCommand("x", ">"));
    EXPECT_LE(WaitedSoFar(), 201ms);
    EXPECT_EQ(link.ReplyText, "partial");

    // An empty terminator is never found, even in a finished reply.
    port.AnswerNextLine({{1ms, "done>"}});
    EXPECT_FALSE(link.SendCommand("x", ""));
    EXPECT_GE(WaitedSoFar(), 199ms);
}

TEST_F(ConsoleLinkTest, TimesOutOnTimeAcrossTheWrapOfTheMillisecondCounter) {
    clock.Advance(std::chrono::milliseconds(UINT32_MAX - 100 - clock.Milliseconds()));
    const uint32_t beforeMs = clock.Milliseconds();
    ASSERT_GT(beforeMs, UINT32_MAX - 110);
    EXPECT_FALSE(link.SendCommand("x", ">"));
    EXPECT_LT(clock.Milliseconds(), beforeMs);  // the counter wrapped during the wait
    EXPECT_GE(WaitedSoFar(), 199ms);
    EXPECT_LE(WaitedSoFar(), 201ms);
}

TEST_F(ConsoleLinkTest, ShorterTimeOutHoldsForAScopeOnly) {
    {
        ReplyTimeoutScope blockTransfers(link, 50);
        EXPECT_FALSE(link.SendCommand("x", ">"));
        EXPECT_LE(WaitedSoFar(), 51ms);
    }
    EXPECT_EQ(link.ReplyTimeoutMs, 200);
}

TEST_F(ConsoleLinkTest, DiscardsStaleBytesBeforeSending) {
    port.Arrive(0us, "old reply>");
    port.AnswerNextLine({{1ms, "new>"}});
    ASSERT_TRUE(link.SendCommand("x", ">"));
    EXPECT_EQ(link.ReplyText, "new");
}

TEST_F(ConsoleLinkTest, SendsTheCommandPacedCharacterByCharacterThenACarriageReturn) {
    port.AnswerNextLine({{0us, ">"}});
    ASSERT_TRUE(link.SendCommand("block 10", ">"));
    EXPECT_EQ(port.Written, "block 10\r");
    for (size_t i = 1; i < port.WriteTimesUs.size(); ++i)
        EXPECT_GE(port.WriteTimesUs[i] - port.WriteTimesUs[i - 1],
                  uint64_t(ConsoleLink::CharacterPause.count()))
            << "before byte " << i;
    EXPECT_GE(clock.Microseconds(), WaitStartUs());
}

TEST_F(ConsoleLinkTest, ExchangesLatin1Text) {
    port.AnswerNextLine({{1ms, "\xB0>"}});
    ASSERT_TRUE(link.SendCommand(QString(QChar(0xE9)), ">"));
    EXPECT_EQ(port.Written, "\xE9\r");
    EXPECT_EQ(link.ReplyText, QString(QChar(0xB0)));
}

TEST_F(ConsoleLinkTest, FailsAtTheTenthReadWhenTheTransmitBufferDoesNotDrain) {
    link.ReplyText = "earlier";
    port.StuckTransmitBytes = 1;
    port.AnswerNextLine({{0us, ">"}});
    EXPECT_FALSE(link.SendCommand("x", ">"));
    EXPECT_EQ(port.TransmitBufferReads, 10);
    EXPECT_EQ(link.ReplyText, "earlier");

    uint8_t value = 77;
    EXPECT_FALSE(link.ReadConsoleByte("e 16", "B(16)=", value));
    EXPECT_EQ(value, 77);
}

// A byte that cannot be read leaves the value as it was (99 here).
TEST_F(ConsoleLinkTest, ReadsTheByteAfterTheKeyOrLeavesTheValueUntouched) {
    const struct {
        QByteArray Reply;
        QString Key;
        bool Read;
        uint8_t Value;
    } cases[] = {
        {"e 16\r\nB(16)= 12 -->", "B(16)=", true, 12},
        {"B(16)=255\r\n-->", "B(16)=", true, 255},
        {"B(16)=62.5-->", "B(16)=", true, 62},
        {"B(16)= 12 ", "B(16)=", false, 99},      // no edit prompt: time-out
        {"B(11)= 7 -->", "B(1)=", false, 99},     // the line of another address
        {"B(16)= 256 -->", "B(16)=", false, 99},  // not a byte
        {"B(16)=-1-->", "B(16)=", false, 99},
        {"B(16)=1e9-->", "B(16)=", false, 99},
        {"B(16)= 12 -->", "", false, 99},
        {"-->B(16)= 12", "B(16)=", false, 99},  // the key after the prompt
    };
    for (const auto& c : cases) {
        port.AnswerNextLine({{1ms, c.Reply}});
        uint8_t value = 99;
        EXPECT_EQ(link.ReadConsoleByte("e 16", c.Key, value), c.Read) << c.Reply.constData();
        EXPECT_EQ(value, c.Value) << c.Reply.constData();
    }
    EXPECT_EQ(port.Written, QByteArray("e 16\r").repeated(std::size(cases)));
}

TEST_F(ConsoleLinkTest, ReadingAByteLeavesReplyTextAlone) {
    link.ReplyText = "IP=10.0.0.1\r\n";
    port.AnswerNextLine({{1ms, "B(0)=1-->"}});
    uint8_t value = 0;
    ASSERT_TRUE(link.ReadConsoleByte("e 0", "B(0)=", value));
    EXPECT_EQ(link.ReplyText, "IP=10.0.0.1\r\n");
}

}  // namespace
}  // namespace kv
