#include "winapi/hooks/clock.h"
#include <mmsystem.h>
#include <windows.h>

#include <gtest/gtest.h>

namespace {

class FakeClock : public testing::Test {
protected:
    void SetUp() override { winapi::hooks::UseFakeClock(5'000'000'000); }
    void TearDown() override {
        winapi::hooks::UseRealClock();
        winapi::hooks::SetPerformanceCounterAvailable(true);
    }
};

LONGLONG Counter() {
    LARGE_INTEGER count{};
    EXPECT_TRUE(QueryPerformanceCounter(&count));
    return count.QuadPart;
}

TEST_F(FakeClock, AllClocksReadTheSameTimeAndMoveOnlyWhenAdvanced) {
    LARGE_INTEGER frequency{};
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 1'000'000'000);
    EXPECT_EQ(Counter(), 5'000'000'000);
    EXPECT_EQ(timeGetTime(), 5000u);
    EXPECT_EQ(GetTickCount(), 5000u);

    winapi::hooks::AdvanceFakeClock(1'999'999);
    EXPECT_EQ(Counter(), 5'001'999'999);
    EXPECT_EQ(timeGetTime(), 5001u) << "whole milliseconds, rounded down";
    EXPECT_EQ(GetTickCount(), 5001u);
}

TEST_F(FakeClock, MillisecondClocksWrapAfter32Bits) {
    winapi::hooks::UseFakeClock((0x1'0000'0000ull - 1) * 1'000'000);
    EXPECT_EQ(GetTickCount(), 0xFFFFFFFFu);
    winapi::hooks::AdvanceFakeClock(1'000'000);
    EXPECT_EQ(GetTickCount(), 0u);
    EXPECT_EQ(timeGetTime(), 0u);
}

TEST_F(FakeClock, WithoutACounterOnlyTheMillisecondClocksWork) {
    winapi::hooks::SetPerformanceCounterAvailable(false);
    LARGE_INTEGER frequency{};
    frequency.QuadPart = 7;
    EXPECT_FALSE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 0);
    LARGE_INTEGER count{};
    EXPECT_FALSE(QueryPerformanceCounter(&count));
    EXPECT_EQ(timeGetTime(), 5000u);
}

TEST_F(FakeClock, RepeatedTickCountReadsWaitForTheNextMillisecond) {
    // Two reads in a millisecond answer at once; from the third on a read sleeps until the next
    // millisecond, which on the fake clock moves it there.
    winapi::hooks::UseFakeClock(7'000'250'000);
    EXPECT_EQ(GetTickCount(), 7000u);
    EXPECT_EQ(GetTickCount(), 7000u);
    EXPECT_EQ(GetTickCount(), 7001u);
    EXPECT_EQ(Counter(), 7'001'000'000);
    EXPECT_EQ(GetTickCount(), 7001u);
    EXPECT_EQ(GetTickCount(), 7002u);
    // The other clocks never wait.
    EXPECT_EQ(timeGetTime(), 7002u);
    EXPECT_EQ(timeGetTime(), 7002u);
    EXPECT_EQ(timeGetTime(), 7002u);
    EXPECT_EQ(Counter(), 7'002'000'000);
}

TEST_F(FakeClock, ATickSourceAnswersEveryRead) {
    DWORD next = 0xFFFFFFFEu;
    winapi::hooks::SetTickSource([&next] { return next++; });
    EXPECT_EQ(GetTickCount(), 0xFFFFFFFEu);
    EXPECT_EQ(GetTickCount(), 0xFFFFFFFFu);
    EXPECT_EQ(GetTickCount(), 0u);
    EXPECT_EQ(timeGetTime(), 5000u);
    winapi::hooks::SetTickSource(nullptr);
    EXPECT_EQ(GetTickCount(), 5000u);
}

TEST(RealClock, IsMonotonicAndSharedByTheTickCount) {
    LARGE_INTEGER first{};
    LARGE_INTEGER second{};
    ASSERT_TRUE(QueryPerformanceCounter(&first));
    const DWORD ticks = GetTickCount();
    ASSERT_TRUE(QueryPerformanceCounter(&second));
    EXPECT_LE(first.QuadPart, second.QuadPart);
    // The tick count read between them lies between them (modulo its 32-bit wrap).
    const auto firstMs = static_cast<DWORD>(first.QuadPart / 1'000'000);
    const auto secondMs = static_cast<DWORD>(second.QuadPart / 1'000'000);
    EXPECT_LE(static_cast<DWORD>(ticks - firstMs), static_cast<DWORD>(secondMs - firstMs));
}

} // namespace
