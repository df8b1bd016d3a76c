#pragma once
// The failures the test hooks chose for the multimedia file calls.

#include "kernel/injected_failures.h"
#include "winapi/hooks/mmio.h"

namespace winapi::mmio {

inline constexpr std::size_t kMmioCalls = static_cast<std::size_t>(hooks::MmioCall::Seek) + 1;
extern InjectedFailures<hooks::MmioCall, MMRESULT, kMmioCalls> injectedFailures;

// The error this call is to fail with, or MMSYSERR_NOERROR.
inline MMRESULT InjectedFailure(hooks::MmioCall call) {
    return injectedFailures.For(call);
}

} // namespace winapi::mmio
