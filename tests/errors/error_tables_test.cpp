// The generated tables as a whole: their sizes, the entries per family, the order the lookups'
// binary search depends on, and the agreement between the narrow and the wide forms.

#include "errors/error_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

using error_tables::TableEntry;

template <typename Char> bool StrictlyAscending(std::span<const TableEntry<Char>> table) {
    return std::adjacent_find(table.begin(), table.end(), [](const auto& a, const auto& b) {
               return a.code >= b.code;
           }) == table.end();
}

std::u16string Widen(const char* text) {
    return std::u16string(text, text + std::strlen(text));
}

// The family an entry of the name table belongs to: plain Win32 values, their result forms, or
// the facility of any other code.
std::string Family(std::uint32_t code) {
    if (code <= 0xFFFF) {
        return "plain";
    }
    if (code >> 16 == 0x8007) {
        return "win32 result";
    }
    char family[32];
    std::snprintf(family, sizeof family, "facility 0x%x", (code >> 16) & 0x1FFF);
    return family;
}

TEST(ErrorTables, HoldTheirEntryCounts) {
    EXPECT_EQ(error_tables::NarrowNames().size(), 5467u);
    EXPECT_EQ(error_tables::WideNames().size(), 5449u);
    EXPECT_EQ(error_tables::NarrowDescriptions().size(), 656u);
    EXPECT_EQ(error_tables::WideDescriptions().size(), 656u);
}

TEST(ErrorTables, NarrowNamesPerFamily) {
    std::map<std::string, int> counts;
    int joined = 0;
    for (const auto& entry : error_tables::NarrowNames()) {
        ++counts[Family(entry.code)];
        joined += std::strstr(entry.text, " & ") != nullptr;
    }
    const std::map<std::string, int> expected = {
        {"plain", 1787},        {"win32 result", 1784},  {"facility 0x0", 49},
        {"facility 0x1", 83},   {"facility 0x2", 44},    {"facility 0x3", 54},
        {"facility 0x4", 616},  {"facility 0x8", 13},    {"facility 0x9", 295},
        {"facility 0xb", 32},   {"facility 0xf", 66},    {"facility 0x10", 59},
        {"facility 0x11", 112}, {"facility 0x15", 112},  {"facility 0x876", 189},
        {"facility 0x877", 36}, {"facility 0x878", 136},
    };
    EXPECT_EQ(counts, expected);
    EXPECT_EQ(joined, 39);
}

TEST(ErrorTables, AreSortedForBinarySearch) {
    EXPECT_TRUE(StrictlyAscending(error_tables::NarrowNames()));
    EXPECT_TRUE(StrictlyAscending(error_tables::WideNames()));
    EXPECT_TRUE(StrictlyAscending(error_tables::NarrowDescriptions()));
    EXPECT_TRUE(StrictlyAscending(error_tables::WideDescriptions()));
}

TEST(ErrorTables, WideNamesRepeatTheNarrowOnesSaveTheOlderJoins) {
    std::map<std::uint32_t, const char*> narrow;
    for (const auto& entry : error_tables::NarrowNames()) {
        narrow[entry.code] = entry.text;
    }
    int differing = 0;
    for (const auto& entry : error_tables::WideNames()) {
        ASSERT_TRUE(narrow.contains(entry.code)) << entry.code;
        differing += Widen(narrow[entry.code]) != entry.text;
    }
    EXPECT_EQ(differing, 2); // 0x00040001 and 0x00040002
}

TEST(ErrorTables, DescriptionsAreOneLineTextsOfNamedCodesInBothForms) {
    const auto narrow = error_tables::NarrowDescriptions();
    const auto wide = error_tables::WideDescriptions();
    const auto names = error_tables::NarrowNames();
    ASSERT_EQ(narrow.size(), wide.size());
    for (std::size_t i = 0; i < narrow.size(); ++i) {
        SCOPED_TRACE(narrow[i].code);
        EXPECT_EQ(narrow[i].code, wide[i].code);
        EXPECT_EQ(Widen(narrow[i].text), wide[i].text);
        EXPECT_NE(narrow[i].text[0], '\0');
        EXPECT_EQ(std::strchr(narrow[i].text, '\n'), nullptr);
        EXPECT_TRUE(std::binary_search(
            names.begin(), names.end(), TableEntry<char>{narrow[i].code, nullptr},
            [](const auto& a, const auto& b) { return a.code < b.code; }));
    }
}

} // namespace
