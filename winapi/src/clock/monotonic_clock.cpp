#include "clock/monotonic_clock.h"

#include <time.h>

namespace winapi::clock {

std::atomic<bool> fakeClockInUse{false};
std::atomic<std::uint64_t> fakeNanoseconds{0};
std::atomic<bool> counterAvailable{true};
std::function<std::uint32_t()> tickSource;

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
