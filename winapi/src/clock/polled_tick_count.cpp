#include "clock/polled_tick_count.h"

#include "clock/monotonic_clock.h"

#include <cerrno>
#include <time.h>

namespace winapi::clock {
namespace {

constexpr std::uint64_t kNanosecondsPerMillisecond = 1'000'000;
// Two reads in one millisecond pass at once: one ends an interval and the next starts another.
constexpr int kReadsWithoutSleep = 2;

thread_local std::uint64_t lastMillisecond = UINT64_MAX;
thread_local int readsThisMillisecond = 0;

void SleepUntil(std::uint64_t nanoseconds) {
    if (fakeClockInUse.load()) {
        std::uint64_t now = fakeNanoseconds.load();
        while (now < nanoseconds && !fakeNanoseconds.compare_exchange_weak(now, nanoseconds)) {
        }
        return;
    }
    timespec until{};
    until.tv_sec = static_cast<time_t>(nanoseconds / 1'000'000'000u);
    until.tv_nsec = static_cast<long>(nanoseconds % 1'000'000'000u);
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

} // namespace

std::uint64_t PolledMilliseconds() {
    std::uint64_t millisecond = NowNanoseconds() / kNanosecondsPerMillisecond;
    if (millisecond == lastMillisecond && ++readsThisMillisecond > kReadsWithoutSleep) {
        SleepUntil((millisecond + 1) * kNanosecondsPerMillisecond);
        millisecond = NowNanoseconds() / kNanosecondsPerMillisecond;
    }
    if (millisecond != lastMillisecond) {
        lastMillisecond = millisecond;
        readsThisMillisecond = 1;
    }
    return millisecond;
}

} // namespace winapi::clock
