#include "clock/monotonic_clock.h"

#include "winapi/hooks/clock.h"

#include <atomic>
#include <time.h>

namespace {

std::atomic<bool> fakeClockInUse{false};
std::atomic<std::uint64_t> fakeNanoseconds{0};
std::atomic<bool> counterAvailable{true};

} // namespace

namespace winapi::clock {

std::uint64_t NowNanoseconds() {
    if (fakeClockInUse.load()) {
        return fakeNanoseconds.load();
    }
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1'000'000'000u +
           static_cast<std::uint64_t>(now.tv_nsec);
}

bool CounterAvailable() {
    return counterAvailable.load();
}

} // namespace winapi::clock

namespace winapi::hooks {

void UseFakeClock(std::uint64_t startNanoseconds) {
    fakeNanoseconds.store(startNanoseconds);
    fakeClockInUse.store(true);
}

void AdvanceFakeClock(std::uint64_t nanoseconds) {
    fakeNanoseconds.fetch_add(nanoseconds);
}

void UseRealClock() {
    fakeClockInUse.store(false);
}

void SetPerformanceCounterAvailable(bool available) {
    counterAvailable.store(available);
}

} // namespace winapi::hooks
