#include <gtest/gtest.h>

#include "config/NumberText.h"

namespace kv {
namespace {

TEST(NumberText, ReadsLeadingNumberLikeTheConsoleAndTheForms) {
    EXPECT_EQ(ReadLeadingNumber(u"  12 -->"), 12);
    EXPECT_EQ(ReadLeadingNumber(u"63.5"), 63.5);
    EXPECT_EQ(ReadLeadingNumber(u"12a"), 12);
    EXPECT_EQ(ReadLeadingNumber(u"-5"), -5);
    EXPECT_EQ(ReadLeadingNumber(u""), 0);
    EXPECT_EQ(ReadLeadingNumber(u"abc"), 0);
    EXPECT_EQ(ReadLeadingNumber(u"."), 0);
    EXPECT_EQ(ReadLeadingNumber(u"1e3x"), 1000);
    EXPECT_EQ(ReadLeadingNumber(u"7e"), 7);
}

TEST(NumberText, RoundsHalvesToEven) {
    EXPECT_EQ(RoundHalfEven(62.5), 62);
    EXPECT_EQ(RoundHalfEven(63.5), 64);
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
}

}  // namespace
}  // namespace kv
