#pragma once
// The one clock behind the counter, the tick count and the multimedia clock.

#include <atomic>
#include <cstdint>
#include <functional>

namespace winapi::clock {

// Nanoseconds on the monotonic clock, or on the test hook's fake clock while it is in use.
std::uint64_t NowNanoseconds();
// Whether the high-resolution counter is offered (a test hook can take it away).
bool CounterAvailable();

// Set by the clock hooks.
extern std::atomic<bool> fakeClockInUse;
extern std::atomic<std::uint64_t> fakeNanoseconds;
extern std::atomic<bool> counterAvailable;
// Set only by tests, on the thread that reads the tick count.
extern std::function<std::uint32_t()> tickSource;

} // namespace winapi::clock
