#include "util/stopwatch.h"
#include "util/timer.h"

#include "winapi/hooks/clock.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint64_t kSecond = 1'000'000'000;
constexpr std::uint64_t kMillisecond = 1'000'000;

class StopwatchTest : public testing::Test {
protected:
    void SetUp() override { winapi::hooks::UseFakeClock(100 * kSecond); }
    void TearDown() override {
        winapi::hooks::UseRealClock();
        winapi::hooks::SetPerformanceCounterAvailable(true);
    }

    static void Advance(double seconds) {
        winapi::hooks::AdvanceFakeClock(static_cast<std::uint64_t>(seconds * kSecond));
    }

    Stopwatch watch;
};

// Every scenario runs on the counter and on the millisecond clock that replaces it.
class EitherClock : public StopwatchTest, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        StopwatchTest::SetUp();
        winapi::hooks::SetPerformanceCounterAvailable(GetParam());
    }
    float Run(TimerCommand command) { return watch.Run(command); }
};

TEST_P(EitherClock, PauseFreezesTheTimeAndStepTenthMovesIt) {
    EXPECT_EQ(Run(TimerCommand::Restart), 0.0f);
    Advance(2.0);
    EXPECT_EQ(Run(TimerCommand::Pause), 0.0f);
    Advance(10.0);
    EXPECT_FLOAT_EQ(Run(TimerCommand::RunningSeconds), 2.0f);
    EXPECT_EQ(Run(TimerCommand::ElapsedSeconds), 0.0f) << "the pause set the elapsed mark";
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Run(TimerCommand::StepTenth), 0.0f);
    }
    EXPECT_FLOAT_EQ(Run(TimerCommand::RunningSeconds), 2.3f);
    EXPECT_FLOAT_EQ(Run(TimerCommand::ElapsedSeconds), 0.3f);
    Run(TimerCommand::StepTenth);
    EXPECT_FLOAT_EQ(Run(TimerCommand::ElapsedSeconds), 0.1f);
    EXPECT_EQ(Run(TimerCommand::ElapsedSeconds), 0.0f);
    EXPECT_FLOAT_EQ(Run(TimerCommand::AbsoluteSeconds), 112.0f) << "always the live clock";
}

TEST_P(EitherClock, ResumeLeavesThePausedSpanOut) {
    Run(TimerCommand::Restart);
    Advance(2.0);
    Run(TimerCommand::Pause);
    Run(TimerCommand::Pause); // a second pause changes nothing
    Advance(5.0);
    EXPECT_EQ(Run(TimerCommand::Resume), 0.0f);
    Advance(1.0);
    EXPECT_FLOAT_EQ(Run(TimerCommand::RunningSeconds), 3.0f);
    EXPECT_FLOAT_EQ(Run(TimerCommand::ElapsedSeconds), 1.0f) << "measured from the resume";
}

TEST_P(EitherClock, ResumeWhileRunningOnlyMovesTheElapsedMark) {
    Run(TimerCommand::Restart);
    Advance(1.0);
    Run(TimerCommand::Resume);
    Advance(0.5);
    EXPECT_FLOAT_EQ(Run(TimerCommand::ElapsedSeconds), 0.5f);
    EXPECT_FLOAT_EQ(Run(TimerCommand::RunningSeconds), 1.5f);
}

TEST_P(EitherClock, StepTenthWhileRunningChangesNothing) {
    Run(TimerCommand::Restart);
    Advance(1.0);
    Run(TimerCommand::StepTenth);
    Advance(1.0);
    EXPECT_FLOAT_EQ(Run(TimerCommand::RunningSeconds), 2.0f);
    EXPECT_FLOAT_EQ(Run(TimerCommand::ElapsedSeconds), 2.0f);
}

TEST_P(EitherClock, ResumeBeforeAnyRestartStartsTheWatchNow) {
    EXPECT_FLOAT_EQ(Run(TimerCommand::RunningSeconds), 100.0f) << "never started: since 0";
    Run(TimerCommand::Resume);
    Advance(1.0);
    EXPECT_FLOAT_EQ(Run(TimerCommand::RunningSeconds), 1.0f);
}

TEST_P(EitherClock, AnUnknownCommandGivesMinusOneAndChangesNothing) {
    Run(TimerCommand::Restart);
    Advance(1.0);
    EXPECT_EQ(Run(static_cast<TimerCommand>(7)), -1.0f);
    EXPECT_EQ(Run(static_cast<TimerCommand>(-1)), -1.0f);
    EXPECT_FLOAT_EQ(Run(TimerCommand::ElapsedSeconds), 1.0f);
}

INSTANTIATE_TEST_SUITE_P(Stopwatch, EitherClock, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "Counter" : "MillisecondClock";
                         });

TEST_F(StopwatchTest, TheClockIsChosenOnceAtTheFirstCommand) {
    winapi::hooks::SetPerformanceCounterAvailable(false);
    watch.Run(TimerCommand::Restart);
    winapi::hooks::SetPerformanceCounterAvailable(true);
    winapi::hooks::AdvanceFakeClock(400'000); // 0.4 ms: invisible to the millisecond clock
    EXPECT_EQ(watch.Run(TimerCommand::RunningSeconds), 0.0f);
    winapi::hooks::AdvanceFakeClock(600'000);
    EXPECT_FLOAT_EQ(watch.Run(TimerCommand::RunningSeconds), 0.001f);
}

TEST_F(StopwatchTest, TheCounterResolvesFractionsOfAMillisecond) {
    watch.Run(TimerCommand::Restart);
    winapi::hooks::AdvanceFakeClock(kMillisecond / 4);
    EXPECT_FLOAT_EQ(watch.Run(TimerCommand::RunningSeconds), 0.00025f);
}

TEST_F(StopwatchTest, TimerControlDrivesTheOneProcessWatch) {
    EXPECT_EQ(TimerControl(TimerCommand::Restart), 0.0f);
    Advance(1.5);
    EXPECT_FLOAT_EQ(TimerControl(TimerCommand::RunningSeconds), 1.5f);
    EXPECT_EQ(TimerControl(static_cast<TimerCommand>(7)), -1.0f);
    TimerControl(TimerCommand::Pause);
    Advance(1.0);
    EXPECT_FLOAT_EQ(TimerControl(TimerCommand::RunningSeconds), 1.5f);
}

} // namespace
