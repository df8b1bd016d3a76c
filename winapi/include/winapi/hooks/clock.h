#pragma once
// Test hooks for the clocks behind QueryPerformanceCounter, timeGetTime and GetTickCount.

#include <cstdint>

namespace winapi::hooks {

// Replaces the monotonic clock by one that stands at startNanoseconds and moves only when
// advanced, so that timed code can be stepped without waiting.
void UseFakeClock(std::uint64_t startNanoseconds);
void AdvanceFakeClock(std::uint64_t nanoseconds);
// Back to the monotonic clock.
void UseRealClock();

// While false, QueryPerformanceFrequency and QueryPerformanceCounter fail as on a machine without
// a high-resolution counter; timeGetTime and GetTickCount go on.
void SetPerformanceCounterAvailable(bool available);

// The monotonic clock and the counter, as at start-up.
void ResetClockHooks();

} // namespace winapi::hooks
