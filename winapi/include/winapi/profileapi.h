#pragma once
// The kernel's clocks: the high-resolution performance counter and the millisecond tick count.
// Stand-in: both read one monotonic nanosecond clock (replaceable by winapi/hooks/clock.h). The
// counter runs at 1,000,000,000 ticks a second; the tick count wraps after about 49.7 days.

#include "winapi/types.h"

// FALSE (and a zero frequency) when no high-resolution counter is available.
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
// Milliseconds on the same clock. A thread that reads it more than twice within one millisecond
// is polling it, and sleeps until the next millisecond before the answer: a wait on the tick count
// ends on time without keeping a processor busy.
DWORD GetTickCount();
