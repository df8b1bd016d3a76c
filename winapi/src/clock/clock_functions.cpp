// QueryPerformanceCounter, QueryPerformanceFrequency, GetTickCount and timeGetTime.

#include "clock/monotonic_clock.h"
#include "clock/polled_tick_count.h"
#include "winapi/profileapi.h"
#include "winapi/timeapi.h"

namespace {

constexpr LONGLONG kCounterFrequency = 1'000'000'000;

DWORD Milliseconds() {
    // Wraps as the platform's 32-bit millisecond clocks do.
    return static_cast<DWORD>(winapi::clock::NowNanoseconds() / 1'000'000u);
}

} // namespace

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (frequency == nullptr) {
        return FALSE;
    }
    const bool available = winapi::clock::CounterAvailable();
    frequency->QuadPart = available ? kCounterFrequency : 0;
    return available ? TRUE : FALSE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (count == nullptr || !winapi::clock::CounterAvailable()) {
        return FALSE;
    }
    count->QuadPart = static_cast<LONGLONG>(winapi::clock::NowNanoseconds());
    return TRUE;
}

DWORD GetTickCount() {
    if (const auto& source = winapi::clock::tickSource) {
        return source();
    }
    return static_cast<DWORD>(winapi::clock::PolledMilliseconds());
}

DWORD timeGetTime() {
    return Milliseconds();
}
