#include <windows.h>

#include <gtest/gtest.h>

namespace {

const char* LastOf(const char* text, unsigned int c) {
    return reinterpret_cast<const char*>(_mbsrchr(reinterpret_cast<const unsigned char*>(text), c));
}

TEST(StringFunctions, CopyIsBoundedAndAlwaysTerminated) {
    char dest[8] = "zzzzzzz";
    EXPECT_EQ(lstrcpynA(dest, "abcdef", 4), dest);
    EXPECT_STREQ(dest, "abc");
    EXPECT_EQ(dest[4], 'z');
    lstrcpynA(dest, "abcdef", 1);
    EXPECT_STREQ(dest, "");
    dest[0] = 'q';
    lstrcpynA(dest, "abcdef", 0);
    EXPECT_EQ(dest[0], 'q');
    EXPECT_EQ(lstrcpynA(nullptr, "a", 4), nullptr);
    EXPECT_EQ(lstrlenA("abc"), 3);
    EXPECT_EQ(lstrlenA(nullptr), 0);
    EXPECT_EQ(lstrlenW(u"\U0001F600"), 2);
}

TEST(StringFunctions, LastCharacterSearchStaysOnCharacterBoundaries) {
    const char path[] = "C:\\a\\b\\c.exe";
    EXPECT_EQ(LastOf(path, '\\'), path + 6);
    EXPECT_EQ(LastOf(path, '.'), path + 8);
    EXPECT_EQ(LastOf(path, 0), path + 12);
    EXPECT_EQ(LastOf(path, 'z'), nullptr);

    const char accents[] = "a\xC3\xA9"
                           "b\xC3\xA9"
                           "c"; // a e-acute b e-acute c
    EXPECT_EQ(LastOf(accents, 0xE9), accents + 4);
    // U+00A9 encodes as C2 A9; the trailing A9 byte of e-acute is no match.
    EXPECT_EQ(LastOf(accents, 0xA9), nullptr);
    // A broken sequence ends where the next character begins, so the backslash is still found.
    const char broken[] = "x\xE3\\y";
    EXPECT_EQ(LastOf(broken, '\\'), broken + 2);
}

} // namespace
