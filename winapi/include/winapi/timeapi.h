#pragma once
// The multimedia millisecond clock.
// Stand-in: the same monotonic clock as QueryPerformanceCounter and GetTickCount, in whole
// milliseconds, wrapping after about 49.7 days.

#include "winapi/types.h"

DWORD timeGetTime();
