#include "util/text_conversion.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

const char kNarrow[] = "caf\xC3\xA9 \xF0\x9F\x98\x80"; // "cafe" with an accent, a space, an emoji
const char16_t kWide[] = u"caf\u00E9 \U0001F600";      // 7 units

TEST(TextConversion, NarrowAndWideRoundTrip) {
    WCHAR wide[8];
    EXPECT_EQ(NarrowToWide(wide, kNarrow, 8), S_OK);
    EXPECT_EQ(std::u16string(wide), kWide);
    char narrow[11];
    EXPECT_EQ(WideToNarrow(narrow, wide, 11), S_OK);
    EXPECT_STREQ(narrow, kNarrow);
    EXPECT_EQ(TextToWide(wide, "plain", 8), S_OK);
    EXPECT_EQ(std::u16string(wide), u"plain");
    EXPECT_EQ(WideToText(narrow, kWide, 11), S_OK);
    EXPECT_STREQ(narrow, kNarrow);
}

TEST(TextConversion, ASourceThatDoesNotFitFailsLeavingTheWholeCharactersThatFit) {
    WCHAR wide[8];
    // Only the terminator is missing; putting it last would split the emoji's surrogate pair.
    EXPECT_EQ(NarrowToWide(wide, kNarrow, 7), E_FAIL);
    EXPECT_EQ(std::u16string(wide), u"caf\u00E9 ");
    char narrow[11];
    EXPECT_EQ(WideToNarrow(narrow, kWide, 10), E_FAIL);
    EXPECT_STREQ(narrow, "caf\xC3\xA9 ");
    EXPECT_EQ(WideToNarrow(narrow, kWide, 5), E_FAIL) << "the terminator would split the accent";
    EXPECT_STREQ(narrow, "caf");
    EXPECT_EQ(NarrowToWide(wide, "a", 1), E_FAIL);
    EXPECT_EQ(wide[0], u'\0');
    EXPECT_EQ(NarrowToWide(wide, "", 1), S_OK);
}

TEST(TextConversion, CopiesZeroFillAndCutToTheCapacity) {
    char dest[8];
    std::memset(dest, 'z', sizeof dest);
    EXPECT_EQ(TextToNarrow(dest, "ab", 6), S_OK);
    EXPECT_EQ(std::string(dest, 8), std::string("ab\0\0\0\0zz", 8));
    EXPECT_EQ(NarrowToText(dest, "abcdefgh", 8), S_OK);
    EXPECT_STREQ(dest, "abcdefg");
    EXPECT_EQ(TextToNarrow(dest, "abc", 1), S_OK);
    EXPECT_STREQ(dest, "");
}

TEST(TextConversion, MissingTextsAndCapacitiesBelowOneAreRejected) {
    WCHAR wide[4];
    char narrow[4];
    EXPECT_EQ(NarrowToWide(nullptr, "a", 4), E_INVALIDARG);
    EXPECT_EQ(NarrowToWide(wide, nullptr, 4), E_INVALIDARG);
    EXPECT_EQ(WideToNarrow(narrow, u"a", 0), E_INVALIDARG);
    EXPECT_EQ(TextToNarrow(narrow, "a", -1), E_INVALIDARG);
    EXPECT_EQ(NarrowToText(nullptr, "a", 4), E_INVALIDARG);
    EXPECT_EQ(TextToWide(wide, nullptr, 4), E_INVALIDARG);
    EXPECT_EQ(WideToText(narrow, nullptr, 4), E_INVALIDARG);
}

TEST(TextConversion, ByteFormsHalveOnlyAWideDestination) {
    WCHAR wide[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(NarrowToWideBytes(wide, "abc", 7), E_FAIL) << "7 bytes hold 3 wide characters";
    EXPECT_EQ(wide[3], u'x') << "nothing written past them";
    EXPECT_EQ(NarrowToWideBytes(wide, "ab", 7), S_OK);
    EXPECT_EQ(std::u16string(wide), u"ab");
    EXPECT_EQ(TextToWideBytes(wide, "abc", 8), S_OK);
    EXPECT_EQ(NarrowToWideBytes(wide, "", 1), E_INVALIDARG) << "half a character is none";

    char narrow[4];
    EXPECT_EQ(WideToNarrowBytes(narrow, u"abc", 4), S_OK);
    EXPECT_EQ(WideToTextBytes(narrow, u"abcd", 4), E_FAIL);
    EXPECT_EQ(TextToNarrowBytes(narrow, "abcd", 4), S_OK);
    EXPECT_STREQ(narrow, "abc");
    EXPECT_EQ(NarrowToTextBytes(narrow, "ab", 4), S_OK);
    EXPECT_STREQ(narrow, "ab");
}

} // namespace
