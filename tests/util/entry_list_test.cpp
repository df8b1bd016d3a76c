#include "util/entry_list.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct Point {
    int x;
    int y;
};

std::vector<int> Values(const EntryList& list) {
    std::vector<int> values;
    for (std::uint32_t i = 0; i < list.Count(); ++i) {
        values.push_back(static_cast<const Point*>(list.EntryAt(i))->x);
    }
    return values;
}

// Appends the points {i, -i} for i from first up to (not including) last.
void AppendNumbered(EntryList& list, int first, int last) {
    for (int i = first; i < last; ++i) {
        const Point point{i, -i};
        EXPECT_EQ(list.Append(&point), S_OK);
    }
}

TEST(EntryList, GrowsTo16AtFirstThenDoublesKeepingTheEntries) {
    EntryList list(EntryKind::ByValue, sizeof(Point));
    EXPECT_EQ(list.Capacity(), 0u);
    AppendNumbered(list, 0, 1);
    EXPECT_EQ(list.Capacity(), 16u);
    AppendNumbered(list, 1, 16);
    EXPECT_EQ(list.Capacity(), 16u);
    const Point seventeenth{16, -16};
    ASSERT_EQ(list.Append(&seventeenth), S_OK);
    EXPECT_EQ(list.Capacity(), 32u);
    EXPECT_EQ(list.Count(), 17u);
    for (std::uint32_t i = 0; i < 17; ++i) {
        const auto* point = static_cast<const Point*>(list.EntryAt(i));
        EXPECT_EQ(point->x, static_cast<int>(i));
        EXPECT_EQ(point->y, -static_cast<int>(i));
    }
}

TEST(EntryList, RemoveAtClosesTheGapInOrder) {
    EntryList list(EntryKind::ByValue, sizeof(Point));
    AppendNumbered(list, 0, 5);
    list.RemoveAt(1);
    EXPECT_EQ(Values(list), (std::vector<int>{0, 2, 3, 4}));
    list.RemoveAt(3);
    EXPECT_EQ(Values(list), (std::vector<int>{0, 2, 3}));
    list.RemoveAt(0);
    EXPECT_EQ(Values(list), (std::vector<int>{2, 3}));
    EXPECT_EQ(list.Capacity(), 16u) << "removal keeps the block";
}

TEST(EntryList, AnIndexAtOrPastTheCountTouchesNothing) {
    EntryList list(EntryKind::ByValue, sizeof(Point));
    EXPECT_EQ(list.EntryAt(0), nullptr);
    list.RemoveAt(0);
    EXPECT_EQ(list.Count(), 0u);
    const Point point{7, 7};
    list.Append(&point);
    list.RemoveAt(1);
    list.RemoveAt(0xFFFFFFFF);
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.EntryAt(1), nullptr);
    EXPECT_NE(list.EntryAt(0), nullptr);
}

TEST(EntryList, ByReferenceStoresPointersAndComparesIdentity) {
    EntryList list(EntryKind::ByReference, 12);
    EXPECT_EQ(list.EntrySize(), sizeof(void*));
    int a = 5;
    int b = 5;
    int c = 5;
    EXPECT_EQ(list.Append(&a), S_OK);
    EXPECT_EQ(list.Append(&b), S_OK);
    EXPECT_EQ(list.Append(nullptr), S_OK);
    EXPECT_EQ(list.EntryAt(0), &a);
    EXPECT_EQ(list.EntryAt(1), &b);
    EXPECT_EQ(list.EntryAt(2), nullptr);
    EXPECT_TRUE(list.Contains(&b));
    EXPECT_FALSE(list.Contains(&c)) << "same value, another object";
    list.RemoveAt(0);
    EXPECT_EQ(list.EntryAt(0), &b);
}

TEST(EntryList, ByValueComparesTheBytes) {
    EntryList list(EntryKind::ByValue, sizeof(Point));
    AppendNumbered(list, 0, 3);
    const Point equal{1, -1};
    const Point different{1, 1};
    EXPECT_TRUE(list.Contains(&equal));
    EXPECT_FALSE(list.Contains(&different));
    EXPECT_FALSE(list.Contains(nullptr));
}

TEST(EntryList, RefusedAppendsLeaveTheListAsItWas) {
    EntryList empty(EntryKind::ByValue, 0);
    const Point point{1, 1};
    EXPECT_EQ(empty.Append(&point), E_FAIL);
    EntryList list(EntryKind::ByValue, sizeof(Point));
    EXPECT_EQ(list.Append(nullptr), E_INVALIDARG);
    EXPECT_EQ(list.Count(), 0u);
    // Sixteen entries of 256 MiB would need a block beyond any 32-bit size.
    EntryList huge(EntryKind::ByValue, 0x10000000);
    std::vector<char> entry(16);
    EXPECT_EQ(huge.Append(entry.data()), E_OUTOFMEMORY);
    EXPECT_EQ(huge.Count(), 0u);
    EXPECT_EQ(huge.Capacity(), 0u);
}

} // namespace
