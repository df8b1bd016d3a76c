#include "util/bounded_string.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(BoundedCopy, CopiesWholeTextOrCutsItAtCapacityMinusOne) {
    char dest[6];
    EXPECT_EQ(BoundedCopy(dest, sizeof dest, "abc"), S_OK);
    EXPECT_STREQ(dest, "abc");
    EXPECT_EQ(BoundedCopy(dest, sizeof dest, "abcde"), S_OK); // exactly capacity - 1
    EXPECT_STREQ(dest, "abcde");
    EXPECT_EQ(BoundedCopy(dest, sizeof dest, "abcdef"), kInsufficientBuffer);
    EXPECT_STREQ(dest, "abcde");
    EXPECT_EQ(BoundedCopy(dest, 1, "x"), kInsufficientBuffer);
    EXPECT_STREQ(dest, "");

    WCHAR wide[4];
    EXPECT_EQ(BoundedCopyW(wide, 4, u"wxyz"), kInsufficientBuffer);
    EXPECT_EQ(std::u16string(wide), u"wxy");
}

TEST(BoundedCopy, RejectsBadCapacitiesAndMissingTexts) {
    char dest[4] = "old";
    EXPECT_EQ(BoundedCopy(dest, 0, "x"), E_INVALIDARG);
    EXPECT_EQ(BoundedCopy(dest, kMaxBoundedCapacity + 1, "x"), E_INVALIDARG);
    EXPECT_STREQ(dest, "old"); // a rejected capacity leaves the destination alone
    EXPECT_EQ(BoundedCopy(nullptr, 4, "x"), E_INVALIDARG);
    EXPECT_EQ(BoundedCopy(dest, sizeof dest, nullptr), E_INVALIDARG);
    EXPECT_STREQ(dest, "");
}

TEST(BoundedAppend, AppendsIntoTheRoomLeft) {
    char dest[8] = "abc";
    EXPECT_EQ(BoundedAppend(dest, sizeof dest, "de"), S_OK);
    EXPECT_STREQ(dest, "abcde");
    EXPECT_EQ(BoundedAppend(dest, sizeof dest, "fgh"), kInsufficientBuffer);
    EXPECT_STREQ(dest, "abcdefg");
    EXPECT_EQ(BoundedAppend(dest, sizeof dest, ""), S_OK); // full, but nothing to add

    WCHAR wide[5] = u"ab";
    EXPECT_EQ(BoundedAppendW(wide, 5, u"cd"), S_OK);
    EXPECT_EQ(std::u16string(wide), u"abcd");
}

TEST(BoundedAppend, UnterminatedDestinationIsRejectedUntouched) {
    char dest[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(BoundedAppend(dest, sizeof dest, "x"), E_INVALIDARG);
    EXPECT_EQ(std::memcmp(dest, "abcd", 4), 0);
    char ok[4] = "ab";
    EXPECT_EQ(BoundedAppend(ok, sizeof ok, nullptr), E_INVALIDARG);
    EXPECT_STREQ(ok, "ab");
}

TEST(BoundedLength, CountsWithinTheLimitOnly) {
    std::size_t length = 99;
    EXPECT_EQ(BoundedLength("abc", 4, &length), S_OK);
    EXPECT_EQ(length, 3u);
    length = 99;
    EXPECT_EQ(BoundedLength("abc", 3, &length), E_INVALIDARG); // terminator beyond the limit
    EXPECT_EQ(length, 99u);
    EXPECT_EQ(BoundedLength(nullptr, 3, &length), E_INVALIDARG);
    EXPECT_EQ(BoundedLength("", 0, &length), E_INVALIDARG);
    EXPECT_EQ(BoundedLengthW(u"\U0001F600", 3, &length), S_OK);
    EXPECT_EQ(length, 2u); // characters are UTF-16 units
}

TEST(BoundedFormat, OutputOfCapacityMinusOneFitsAndLongerIsCut) {
    char dest[5];
    EXPECT_EQ(BoundedFormat(dest, sizeof dest, "%d", 1234), S_OK);
    EXPECT_STREQ(dest, "1234");
    EXPECT_EQ(BoundedFormat(dest, sizeof dest, "%d", 12345), kInsufficientBuffer);
    EXPECT_STREQ(dest, "1234");
    EXPECT_EQ(BoundedFormat(dest, sizeof dest, "ab%sef", "cd"), kInsufficientBuffer);
    EXPECT_STREQ(dest, "abcd");
    EXPECT_EQ(BoundedFormat(dest, 0, "x"), E_INVALIDARG);
    EXPECT_EQ(BoundedFormat(dest, sizeof dest, nullptr), E_INVALIDARG);
    EXPECT_STREQ(dest, "");
}

TEST(BoundedFormat, LongIsThirtyTwoBitsAsOnThePlatform) {
    char dest[64];
    const LONG line = -120;
    const DWORD big = 0xFFFFFFFFu;
    const HRESULT hr = static_cast<HRESULT>(0x88780064);
    BoundedFormat(dest, sizeof dest, "%ld %lu %lx %ld", line, big, big, static_cast<LONG>(hr));
    EXPECT_STREQ(dest, "-120 4294967295 ffffffff -2005401500");
    BoundedFormat(dest, sizeof dest, "%lld %I64x %hd %hhu", -5000000000LL, 0x123456789abULL, 70000,
                  300);
    EXPECT_STREQ(dest, "-5000000000 123456789ab 4464 44");
}

TEST(BoundedFormat, HexFieldsOfResultCodesAndGuids) {
    char dest[64];
    BoundedFormat(dest, sizeof dest, "%s (0x%0.8x)", "DSERR_BADFORMAT", 0x88780064u);
    EXPECT_STREQ(dest, "DSERR_BADFORMAT (0x88780064)");
    BoundedFormat(dest, sizeof dest, "0x%0.8x", 5u);
    EXPECT_STREQ(dest, "0x00000005");
    BoundedFormat(dest, sizeof dest,
                  "{%0.8X-%0.4X-%0.4X-%0.2X%0.2X-%0.2X%0.2X%0.2X%0.2X%0.2X%0.2X}", 0xabu, 0xcu, 0xd,
                  1, 2, 3, 4, 5, 6, 0xfe, 0xff);
    EXPECT_STREQ(dest, "{000000AB-000C-000D-0102-03040506FEFF}"); // 38 characters
}

// Integer and text conversions agree with the C library wherever both define them.
TEST(BoundedFormat, IntegerAndTextConversionsMatchTheCLibrary) {
    const char* flags[] = {"", "-", "0", "+", " ", "#", "-+", "0#"};
    const char* widths[] = {"", "1", "8", "12"};
    const char* precisions[] = {"", ".", ".0", ".3", ".10"};
    const int values[] = {0, 1, -1, 42, -77777, INT32_MIN, INT32_MAX};
    for (const char* flag : flags) {
        for (const char* width : widths) {
            for (const char* precision : precisions) {
                for (const char conversion : {'d', 'u', 'x', 'X', 'o', 's', 'c'}) {
                    const std::string format =
                        std::string("[%") + flag + width + precision + conversion + "]";
                    for (const int value : values) {
                        char expected[64];
                        char actual[64];
                        if (conversion == 's') {
                            const char* text = value < 0 ? "" : "text";
                            std::snprintf(expected, sizeof expected, format.c_str(), text);
                            BoundedFormat(actual, sizeof actual, format.c_str(), text);
                        } else {
                            const int argument = conversion == 'c' ? 'A' + (value & 7) : value;
                            std::snprintf(expected, sizeof expected, format.c_str(), argument);
                            BoundedFormat(actual, sizeof actual, format.c_str(), argument);
                        }
                        ASSERT_STREQ(actual, expected) << format << " with " << value;
                    }
                }
            }
        }
    }
}

TEST(BoundedFormat, FloatsNullTextsAndPercent) {
    char dest[64];
    BoundedFormat(dest, sizeof dest, "%f|%.2f|%8.3f|%e|%%|%s", 0.5, 2.0 / 3, -1.5, 1e10,
                  static_cast<const char*>(nullptr));
    EXPECT_STREQ(dest, "0.500000|0.67|  -1.500|1.000000e+10|%|(null)");
    BoundedFormat(dest, sizeof dest, "%f", 1e300);
    EXPECT_EQ(std::strlen(dest), 63u); // a long number is cut, not overrun
}

// Text of the output's own form is copied unit for unit, whatever it holds: Latin-1 bytes and cut
// UTF-8 sequences stay as they are, and widths and precisions count bytes.
TEST(BoundedFormat, NarrowTextIsCopiedByteForByte) {
    char dest[64];
    BoundedFormat(dest, sizeof dest, "%s|%c|%c", "caf\xE9 \xFF\x80", 0xE9, '\xFF');
    EXPECT_STREQ(dest, "caf\xE9 \xFF\x80|\xE9|\xFF");

    BoundedFormat(dest, sizeof dest, "[%6s][%-6s][%.3s][%.1s][%3c][%-3c]", "\xC3\xA9t\xC3\xA9",
                  "\xE9t\xE9", "\xC3\xA9t\xC3\xA9", "\xC3\xA9", 0xE9, 0xE9);
    EXPECT_STREQ(dest, "[ \xC3\xA9t\xC3\xA9][\xE9t\xE9   ][\xC3\xA9t][\xC3][  \xE9][\xE9  ]");

    // Cut at the capacity inside a sequence, like any other text.
    char small[4];
    EXPECT_EQ(BoundedFormat(small, sizeof small, "%s", "a\xE2\x82\xAC"), kInsufficientBuffer);
    EXPECT_STREQ(small, "a\xE2\x82");
}

TEST(BoundedFormatW, WideTextIsCopiedUnitForUnit) {
    WCHAR dest[16];
    const WCHAR loneHigh[] = {u'a', 0xD800, u'b', 0};
    BoundedFormatW(dest, 16, u"%s|%c|%.2s", loneHigh, 0xDC00, loneHigh);
    EXPECT_EQ(std::u16string(dest),
              (std::u16string{u'a', 0xD800, u'b', u'|', 0xDC00, u'|', u'a', 0xD800}));
}

// Across forms the text is converted, and what cannot be converted becomes U+FFFD.
TEST(BoundedFormat, TextOfTheOtherFormIsConvertedWithReplacements) {
    char narrow[32];
    const WCHAR loneLow[] = {0xDC00, u'x', 0};
    BoundedFormat(narrow, sizeof narrow, "%S|%lc|%C", loneLow, 0xD800, u'\u00e9');
    EXPECT_STREQ(narrow, "\xEF\xBF\xBDx|\xEF\xBF\xBD|\xC3\xA9");

    WCHAR wide[32];
    BoundedFormatW(wide, 32, u"%hs|%S|%C|%hc|%C", "\xE9t\xC3\xA9", "\xFF", 0xE9, 'n', 0xC3);
    EXPECT_EQ(std::u16string(wide), u"\uFFFDt\u00e9|\uFFFD|\uFFFD|n|\uFFFD");
}

TEST(BoundedFormatW, WideAndNarrowTextsMixAcrossForms) {
    WCHAR dest[64];
    BoundedFormatW(dest, 64, u"%s|%S|%c|%C|%ld", u"wide", "na\xC3\xAFve", u'\u00e9', 'n', -3);
    EXPECT_EQ(std::u16string(dest), u"wide|na\u00efve|\u00e9|n|-3");
    BoundedFormatW(dest, 64, u"%S(%s): ", "F", u"120");
    EXPECT_EQ(std::u16string(dest), u"F(120): ");
    BoundedFormatW(dest, 64, u"%s (0x%0.8x)", u"E_FAIL", 0x80004005u);
    EXPECT_EQ(std::u16string(dest), u"E_FAIL (0x80004005)");
    BoundedFormatW(dest, 64, u"%S", "\xF0\x9F\x98\x80|\xFF|");
    EXPECT_EQ(std::u16string(dest), u"\U0001F600|\uFFFD|"); // surrogate pair; bad byte replaced

    char narrow[32];
    BoundedFormat(narrow, sizeof narrow, "%S|%ls|%5.1S|", u"\u00e9t\u00e9", u"x", u"ab");
    EXPECT_STREQ(narrow, "\xC3\xA9t\xC3\xA9|x|    a|");
}

TEST(BoundedFormatW, CutsWideOutputAtCapacity) {
    WCHAR dest[4];
    EXPECT_EQ(BoundedFormatW(dest, 4, u"%s", u"abc"), S_OK);
    EXPECT_EQ(BoundedFormatW(dest, 4, u"%d", 12345), kInsufficientBuffer);
    EXPECT_EQ(std::u16string(dest), u"123");
}

} // namespace
