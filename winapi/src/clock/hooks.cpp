#include "winapi/hooks/clock.h"

#include "clock/monotonic_clock.h"

namespace winapi::hooks {

void UseFakeClock(std::uint64_t startNanoseconds) {
    clock::fakeNanoseconds.store(startNanoseconds);
    clock::fakeClockInUse.store(true);
}

void AdvanceFakeClock(std::uint64_t nanoseconds) {
    clock::fakeNanoseconds.fetch_add(nanoseconds);
}

void UseRealClock() {
    clock::fakeClockInUse.store(false);
}

void SetPerformanceCounterAvailable(bool available) {
    clock::counterAvailable.store(available);
}

void SetTickSource(std::function<DWORD()> source) {
    clock::tickSource = std::move(source);
}

void ResetClockHooks() {
    UseRealClock();
    SetTickSource(nullptr);
    SetPerformanceCounterAvailable(true);
}

} // namespace winapi::hooks
