#pragma once
// The one clock behind the counter, the tick count and the multimedia clock.

#include <cstdint>

namespace winapi::clock {

// Nanoseconds on the monotonic clock, or on the test hook's fake clock while it is in use.
std::uint64_t NowNanoseconds();
// Whether the high-resolution counter is offered (a test hook can take it away).
bool CounterAvailable();

} // namespace winapi::clock
