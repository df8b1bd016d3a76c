#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

TEST(Events, AManualResetEventStaysSignalledUntilReset) {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    ASSERT_TRUE(SetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, INFINITE), WAIT_OBJECT_0);
    ASSERT_TRUE(ResetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(CloseHandle(event));
}

TEST(Events, AnAutoResetEventReleasesOneWaitPerSignal) {
    HANDLE event = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(event);
    SetEvent(event); // signals do not add up
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(event);
}

TEST(Events, WaitingForAnyGivesTheLowestSignalledIndexAndConsumesOnlyThat) {
    HANDLE events[3];
    for (HANDLE& event : events)
        event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(events[2]);
    SetEvent(events[1]);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 2);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    for (HANDLE event : events)
        CloseHandle(event);
}

TEST(Events, WaitingForAllTakesNothingUntilEveryObjectIsSignalled) {
    HANDLE events[2] = {CreateEventA(nullptr, FALSE, FALSE, nullptr),
                        CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    SetEvent(events[0]);
    EXPECT_EQ(WaitForMultipleObjects(2, events, TRUE, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(WaitForSingleObject(events[0], 0), WAIT_OBJECT_0); // still set after the failed wait
    SetEvent(events[0]);
    SetEvent(events[1]);
    EXPECT_EQ(WaitForMultipleObjects(2, events, TRUE, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(events[0], 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(WaitForSingleObject(events[1], 0), WAIT_OBJECT_0);
    for (HANDLE event : events)
        CloseHandle(event);
}

TEST(Events, BadHandlesAndArgumentsFail) {
    HANDLE event = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    ASSERT_TRUE(CloseHandle(event));
    EXPECT_FALSE(CloseHandle(event));
    EXPECT_FALSE(SetEvent(event));
    EXPECT_FALSE(ResetEvent(nullptr));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_FAILED);
    EXPECT_EQ(WaitForSingleObject(INVALID_HANDLE_VALUE, 0), WAIT_FAILED);

    HANDLE live = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    HANDLE twice[2] = {live, live};
    EXPECT_EQ(WaitForMultipleObjects(2, twice, TRUE, 0), WAIT_FAILED);
    EXPECT_EQ(WaitForMultipleObjects(2, twice, FALSE, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForMultipleObjects(0, twice, FALSE, 0), WAIT_FAILED);
    HANDLE many[MAXIMUM_WAIT_OBJECTS + 1];
    std::fill(std::begin(many), std::end(many), live);
    EXPECT_EQ(WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS + 1, many, FALSE, 0), WAIT_FAILED);
    HANDLE mixed[2] = {live, event};
    EXPECT_EQ(WaitForMultipleObjects(2, mixed, FALSE, 0), WAIT_FAILED);
    CloseHandle(live);
}

TEST(Events, AnotherThreadsSignalWakesAnEndlessWait) {
    HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE never = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE go = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    DWORD seen = WAIT_FAILED;
    std::thread waiter([&] {
        SetEvent(started);
        HANDLE either[2] = {never, go};
        seen = WaitForMultipleObjects(2, either, FALSE, INFINITE);
    });
    ASSERT_EQ(WaitForSingleObject(started, INFINITE), WAIT_OBJECT_0);
    SetEvent(go);
    waiter.join();
    EXPECT_EQ(seen, WAIT_OBJECT_0 + 1);
    for (HANDLE event : {started, never, go})
        CloseHandle(event);
}

TEST(Events, ManySignalsFromAnotherThreadAreNeitherLostNorInvented) {
    HANDLE request = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE reply = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    constexpr int kRounds = 2000;
    std::thread echo([&] {
        for (int round = 0; round < kRounds; ++round) {
            WaitForSingleObject(request, INFINITE);
            SetEvent(reply);
        }
    });
    int replies = 0;
    for (int round = 0; round < kRounds; ++round) {
        SetEvent(request);
        if (WaitForSingleObject(reply, INFINITE) == WAIT_OBJECT_0)
            ++replies;
    }
    echo.join();
    EXPECT_EQ(replies, kRounds);
    EXPECT_EQ(WaitForSingleObject(reply, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(request);
    CloseHandle(reply);
}

// Signals come from other threads without the waiters' lock; a signal still releases one waiter
// of an auto-reset event and every waiter of a manual-reset one.
TEST(Events, ASignalReleasesOneWaiterOfAnAutoResetEventAndAllOfAManualResetOne) {
    for (const BOOL manualReset : {FALSE, TRUE}) {
        HANDLE event = CreateEventA(nullptr, manualReset, FALSE, nullptr);
        HANDLE woke = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        std::atomic<int> released{0};
        std::vector<std::thread> waiters;
        for (int i = 0; i < 3; ++i) {
            waiters.emplace_back([&] {
                if (WaitForSingleObject(event, INFINITE) == WAIT_OBJECT_0)
                    ++released;
                SetEvent(woke);
            });
        }
        SetEvent(event);
        ASSERT_EQ(WaitForSingleObject(woke, INFINITE), WAIT_OBJECT_0);
        if (!manualReset) {
            EXPECT_EQ(WaitForSingleObject(woke, 100), static_cast<DWORD>(WAIT_TIMEOUT))
                << "one signal released a second waiter";
            for (int other = 0; other < 2; ++other) {
                SetEvent(event);
                ASSERT_EQ(WaitForSingleObject(woke, INFINITE), WAIT_OBJECT_0);
            }
        }
        for (std::thread& waiter : waiters)
            waiter.join();
        EXPECT_EQ(released.load(), 3);
        CloseHandle(event);
        CloseHandle(woke);
    }
}

TEST(Events, AWaitForAllSignalledFromAnotherThreadConsumesEveryAutoResetSignal) {
    HANDLE automatic = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE manual = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD seen = WAIT_FAILED;
    std::thread waiter([&] {
        HANDLE both[2] = {automatic, manual};
        seen = WaitForMultipleObjects(2, both, TRUE, INFINITE);
    });
    SetEvent(automatic);
    SetEvent(manual);
    waiter.join();
    EXPECT_EQ(seen, WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(automatic, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    CloseHandle(automatic);
    CloseHandle(manual);
}

} // namespace
