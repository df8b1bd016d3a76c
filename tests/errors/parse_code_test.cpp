// The code syntax of the errlookup tool.

#include "parse_code.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseCode, AcceptsHexUnsignedAndNegativeDecimalWithin32Bits) {
    EXPECT_EQ(ParseCode("0x88780096"), 0x88780096u);
    EXPECT_EQ(ParseCode("0X8878009a"), 0x8878009Au);
    EXPECT_EQ(ParseCode("0x0"), 0u);
    EXPECT_EQ(ParseCode("0xffffffff"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseCode("2289565846"), 0x88780096u);
    EXPECT_EQ(ParseCode("4294967295"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseCode("-2005401450"), 0x88780096u);
    EXPECT_EQ(ParseCode("-2147483648"), 0x80000000u);
    EXPECT_EQ(ParseCode("-0"), 0u);
}

TEST(ParseCode, RefusesMalformedAndOutOfRangeText) {
    for (const char* text :
         {"", "0x", "-", "x12", "12x", "0x12g", "0x-1", "+5", " 5", "5 ", "0x100000000",
          "4294967296", "-2147483649", "99999999999999999999999", "0x88780096 0x1"}) {
        EXPECT_EQ(ParseCode(text), std::nullopt) << '"' << text << '"';
    }
}

} // namespace
