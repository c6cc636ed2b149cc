// The read the PC sends for a command, and how it judges the answer: every answer that is
// not to that read is refused and what is wrong is named.

#include <gtest/gtest.h>

#include <cerrno>

#include "modbus/AsciiFrame.h"
#include "modbus/LibmodbusExchange.h"
#include "modbus/ProbeRead.h"
#include "modbus/ReplyCheck.h"

namespace kv {
namespace {

TEST(ProbeReplies, WritingCommandsAreProbedByReadingTheirRange) {
    struct Row {
        uint8_t NetId;
        uint8_t FunctionCode;
        double Start;
        int32_t Length;
        std::optional<ProbeRead> Read;
        const char* WhyNot;
    };
    const Row rows[] = {
        {9, 3, 0, 4, ProbeRead{9, 3, 0, 4}, ""},
        {247, 2, 65534, 2, ProbeRead{247, 2, 65534, 2}, ""},
        {9, 16, 99, 120, ProbeRead{9, 3, 99, 120}, ""},
        {9, 6, 7, 1, ProbeRead{9, 3, 7, 1}, ""},
        {9, 15, 5, 1920, ProbeRead{9, 1, 5, 1920}, ""},
        {9, 5, 5, 1, ProbeRead{9, 1, 5, 1}, ""},
        {9, 7, 0, 1, std::nullopt, "function code 7 is none of the eight"},
        {9, 4, 0, 121, std::nullopt, "length 121 is outside 1..120"},
        {9, 3, 65535, 2, std::nullopt, "start address 65535 and length 2 reach past 65535"},
        {248, 3, 0, 1, std::nullopt, "unit ID 248 is outside 1..247"},
        {0, 3, 0, 1, std::nullopt, "unit ID 0 is outside 1..247"},
    };
    for (const Row& row : rows) {
        const ProbeReadOrWhyNot read =
            ProbeReadOf({1, row.NetId, row.FunctionCode, 0, row.Start, row.Length});
        EXPECT_EQ(read.Read, row.Read) << int(row.FunctionCode);
        EXPECT_EQ(read.WhyNot, row.WhyNot) << int(row.FunctionCode);
    }
    EXPECT_EQ(ReadRequestPdu({9, 3, 0x1234, 10}), QByteArray::fromHex("031234000a"));
}

TEST(ProbeReplies, TcpAnswersAreCheckedAgainstTheirRead) {
    const ProbeRead registers{1, 3, 0, 2};
    const ProbeRead coils{1, 1, 0, 10};
    struct Row {
        ProbeRead Read;
        const char* Answer;  // hexadecimal, header included
        ReplyVerdict Verdict;
    };
    using enum ProbeOutcome;
    const Row rows[] = {
        {registers, "00000000000701030403e8ffff", {Ok, 0, {1000, 65535}, ""}},
        {coils, "0000000000050101020d02", {Ok, 0, {1, 0, 1, 1, 0, 0, 0, 0, 0, 1}, ""}},
        {registers, "000000000003018302", {Exception, 2, {}, ""}},
        {registers, "00070000000701030400010002", {Malformed, 0, {}, "transaction ID 7, not 0"}},
        {registers,
         "00000001000701030400010002",
         {Malformed, 0, {}, "protocol ID 1, not 0 (Modbus)"}},
        {registers,
         "00000000000901030400010002",
         {Malformed, 0, {}, "length field 9, but 7 bytes follow it"}},
        {registers, "00000000000702030400010002", {Malformed, 0, {}, "unit ID 2, not 1"}},
        {registers,
         "00000000000701040400010002",
         {Malformed, 0, {}, "answer to function 04, not 03"}},
        {registers, "0000000000020183", {Malformed, 0, {}, "exception answer of 1 byte, not 2"}},
        {registers, "000000000005010302000a", {Malformed, 0, {}, "1 of the 2 registers asked"}},
        {coils,
         "00000000000401010108",
         {Malformed, 0, {}, "1 data byte for 10 bits, which take 2"}},
        {registers,
         "000000000006010304000a00",
         {Malformed, 0, {}, "byte count 4, but 3 bytes follow it"}},
        {registers, "000000000002", {Malformed, 0, {}, "answer of 6 bytes, shorter than a header"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CheckTcpReply(row.Read, 0, QByteArray::fromHex(row.Answer)), row.Verdict)
            << row.Answer;
}

TEST(ProbeReplies, AnswersNotReceivedSayWhatFailed) {
    struct Row {
        int Error;
        ReplyVerdict Verdict;
    };
    using enum ProbeOutcome;
    const Row rows[] = {
        {ETIMEDOUT, {Timeout, 0, {}, "no whole answer within 300 ms"}},
        {ECONNRESET, {Malformed, 0, {}, "the connection closed before a whole answer came"}},
        {EMBBADCRC, {Malformed, 0, {}, "Invalid CRC"}},
        {EIO, {Unreachable, 0, {}, "Input/output error"}},
    };
    for (const Row& row : rows) EXPECT_EQ(ReceiveFailure(row.Error, 300), row.Verdict) << row.Error;
}

TEST(ProbeReplies, AsciiFramesCarryTheirMessageInHexadecimalWithItsLrc) {
    EXPECT_EQ(AsciiFrame(QByteArray::fromHex("0103000a0001")), ":0103000A0001F1\r\n");
    EXPECT_EQ(AsciiFrame(QByteArray::fromHex("f7038000")), ":F703800086\r\n");
    struct Row {
        const char* Frame;
        const char* Message;  // hexadecimal
        const char* Failure;
    };
    const Row rows[] = {
        {":0103020064960\r\n", "", "an ASCII frame that is no whole hexadecimal pairs"},
        {":010302006496\r\n", "0103020064", ""},
        {":01030200ab4f\r\n", "01030200ab", ""},  // lower-case digits are taken too
        {":010302006497\r\n", "", "LRC 97, not 96"},
        {":0103020064G6\r\n", "", "an ASCII frame that is no whole hexadecimal pairs"},
        {"0103020064\r\n", "", "an ASCII frame without its colon or CR LF"},
        {":0103020064\n", "", "an ASCII frame without its colon or CR LF"},
    };
    for (const Row& row : rows) {
        const AsciiMessage message = AsciiMessageOf(QByteArray(row.Frame));
        EXPECT_EQ(message.Message.toHex(), row.Message) << row.Frame;
        EXPECT_EQ(message.Failure, row.Failure) << row.Frame;
    }
}

}  // namespace
}  // namespace kv
