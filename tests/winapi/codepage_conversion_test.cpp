#include <windows.h>

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

// Converts with an explicit source length and a destination of the given size, checking that no
// unit past that size was touched.
struct WideResult {
    int result;
    DWORD error;
    std::u16string text; // the units written, up to the first untouched one
};

constexpr char16_t kCanary = 0xBEEF;

WideResult ToWide(std::string_view source, int sourceLength, int destLength, DWORD flags = 0) {
    std::u16string buffer(static_cast<std::size_t>(destLength) + 4, kCanary);
    SetLastError(0);
    const int result = MultiByteToWideChar(CP_ACP, flags, source.data(), sourceLength,
                                           destLength > 0 ? buffer.data() : nullptr, destLength);
    const DWORD error = GetLastError();
    for (std::size_t i = static_cast<std::size_t>(destLength); i < buffer.size(); ++i) {
        EXPECT_EQ(buffer[i], kCanary) << "write past the destination at " << i;
    }
    return {result, error, buffer.substr(0, buffer.find(kCanary))};
}

std::u16string Wide(std::string_view source) {
    const int needed =
        MultiByteToWideChar(CP_ACP, 0, source.data(), static_cast<int>(source.size()), nullptr, 0);
    return ToWide(source, static_cast<int>(source.size()), needed).text;
}

std::string Narrow(std::u16string_view source, DWORD flags = 0) {
    const int length = static_cast<int>(source.size());
    const int needed =
        WideCharToMultiByte(CP_ACP, flags, source.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(needed), '\0');
    if (needed > 0) {
        EXPECT_EQ(WideCharToMultiByte(CP_ACP, flags, source.data(), length, out.data(), needed,
                                      nullptr, nullptr),
                  needed);
    }
    return out;
}

const char kMixed[] = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"; // A, e acute, euro, emoji

TEST(CodePage, TextRoundTripsWithSurrogatePairsAndTheTerminatorCounted) {
    const WideResult wide = ToWide(kMixed, -1, 6);
    EXPECT_EQ(wide.result, 6);
    EXPECT_EQ(wide.text, std::u16string(u"A\u00E9\u20AC\U0001F600") + u'\0');
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, kMixed, -1, nullptr, 0), 6);

    char narrow[16];
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"A\u00E9\u20AC\U0001F600", -1, narrow, sizeof narrow,
                                  nullptr, nullptr),
              11);
    EXPECT_STREQ(narrow, kMixed);
    // An explicit length converts exactly those units: no terminator, embedded NULs kept.
    EXPECT_EQ(Wide(std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(CodePage, ASmallDestinationHoldsWholeCharactersOnlyAndTheResultIsZero) {
    const WideResult cut = ToWide(kMixed, -1, 4); // the emoji's pair does not fit after 3 units
    EXPECT_EQ(cut.result, 0);
    EXPECT_EQ(cut.error, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(cut.text.substr(0, 3), u"A\u00E9\u20AC");
    EXPECT_EQ(cut.text.size() == 4 ? cut.text[3] : u'\0', u'\0') << "half a surrogate pair";

    char narrow[6] = {1, 1, 1, 1, 1, 1};
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u00E9\u20AC", -1, narrow, 4, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::string(narrow, 2), "\xC3\xA9");
    EXPECT_EQ(narrow[2], 1) << "the euro sign's three bytes did not fit and none was written";
    EXPECT_EQ(narrow[4], 1);
}

TEST(CodePage, MalformedNarrowTextBecomesOneReplacementPerMaximalSubpart) {
    const struct {
        std::string_view input;
        std::u16string expected;
    } cases[] = {
        {"a\xC3(b", u"a\uFFFD(b"},                         // lead byte without its continuation
        {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},           // overlong: no valid prefix at all
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                     // C0 and C1 never start a character
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},           // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // above U+10FFFF
        {"x\xF0\x9F\x98", u"x\uFFFD"},                     // a character cut by the end of the text
        {"\xE2\x82\\", u"\uFFFD\\"},                       // the byte that broke it starts anew
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Wide(c.input), c.expected) << c.input;
        const WideResult strict =
            ToWide(c.input, static_cast<int>(c.input.size()), 16, MB_ERR_INVALID_CHARS);
        EXPECT_EQ(strict.result, 0) << c.input;
        EXPECT_EQ(strict.error, static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION)) << c.input;
    }
}

TEST(CodePage, UnpairedSurrogatesBecomeTheReplacementCharacter) {
    const std::u16string lone[] = {u"a\xD800", std::u16string(u"\xDC00") + u"b",
                                   u"\xDBFF\xDBFF\xDC00"};
    const std::string expected[] = {"a\xEF\xBF\xBD",
                                    "\xEF\xBF\xBD"
                                    "b",
                                    "\xEF\xBF\xBD\xF4\x8F\xB0\x80"};
    for (std::size_t i = 0; i < std::size(lone); ++i) {
        EXPECT_EQ(Narrow(lone[i]), expected[i]) << i;
        SetLastError(0);
        EXPECT_EQ(WideCharToMultiByte(CP_ACP, WC_ERR_INVALID_CHARS, lone[i].data(),
                                      static_cast<int>(lone[i].size()), nullptr, 0, nullptr,
                                      nullptr),
                  0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    }
}

TEST(CodePage, BadArgumentsFailWithThePlatformsErrors) {
    char16_t wide[8];
    char narrow[8];
    BOOL used = FALSE;
    const struct {
        std::function<int()> call;
        DWORD error;
    } cases[] = {
        {[&] { return MultiByteToWideChar(CP_ACP, 0, nullptr, -1, wide, 8); },
         ERROR_INVALID_PARAMETER},
        {[&] { return MultiByteToWideChar(CP_ACP, 0, "a", 0, wide, 8); }, ERROR_INVALID_PARAMETER},
        {[&] { return MultiByteToWideChar(CP_ACP, 0, "a", -2, wide, 8); }, ERROR_INVALID_PARAMETER},
        {[&] { return MultiByteToWideChar(CP_ACP, 0, "a", -1, wide, -1); },
         ERROR_INVALID_PARAMETER},
        {[&] { return MultiByteToWideChar(CP_ACP, 0, "a", -1, nullptr, 8); },
         ERROR_INVALID_PARAMETER},
        {[&] { return MultiByteToWideChar(1252, 0, "a", -1, wide, 8); }, ERROR_INVALID_PARAMETER},
        {[&] { return MultiByteToWideChar(CP_ACP, 1, "a", -1, wide, 8); }, ERROR_INVALID_FLAGS},
        {[&] { return WideCharToMultiByte(CP_ACP, 0, u"a", -1, narrow, 8, "?", nullptr); },
         ERROR_INVALID_PARAMETER},
        {[&] { return WideCharToMultiByte(CP_ACP, 0, u"a", -1, narrow, 8, nullptr, &used); },
         ERROR_INVALID_PARAMETER},
        {[&] { return WideCharToMultiByte(CP_ACP, 0x400, u"a", -1, narrow, 8, nullptr, nullptr); },
         ERROR_INVALID_FLAGS},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SetLastError(0);
        EXPECT_EQ(cases[i].call(), 0) << i;
        EXPECT_EQ(GetLastError(), cases[i].error) << i;
    }
}

TEST(LastError, BelongsToTheCallingThread) {
    SetLastError(ERROR_INVALID_FLAGS);
    DWORD seenByOther = 1;
    std::thread([&] {
        seenByOther = GetLastError();
        SetLastError(ERROR_OUTOFMEMORY);
    }).join();
    EXPECT_EQ(seenByOther, 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
}

} // namespace
