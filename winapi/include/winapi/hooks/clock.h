#pragma once
// Test hooks for the clocks behind QueryPerformanceCounter, timeGetTime and GetTickCount.

#include "winapi/types.h"

#include <cstdint>
#include <functional>

namespace winapi::hooks {

// Replaces the monotonic clock by one that stands at startNanoseconds and moves only when
// advanced, so that timed code can be stepped without waiting. The one exception: a GetTickCount
// that would sleep until the next millisecond (the third read in one) moves it there instead.
void UseFakeClock(std::uint64_t startNanoseconds);
void AdvanceFakeClock(std::uint64_t nanoseconds);
// Back to the monotonic clock.
void UseRealClock();

// While false, QueryPerformanceFrequency and QueryPerformanceCounter fail as on a machine without
// a high-resolution counter; timeGetTime and GetTickCount go on.
void SetPerformanceCounterAvailable(bool available);

// Every later GetTickCount answers source() instead of reading a clock, so that a test sees and
// steers each read of a polling loop; an empty function gives GetTickCount back to its clock.
void SetTickSource(std::function<DWORD()> source);

// The monotonic clock, the tick count's own clock and the counter, as at start-up.
void ResetClockHooks();

} // namespace winapi::hooks
