#pragma once
// The failures the test hooks chose for the multimedia file calls.

#include "winapi/hooks/mmio.h"

namespace winapi::mmio {

// The error this call is to fail with, or MMSYSERR_NOERROR.
MMRESULT InjectedFailure(hooks::MmioCall call);

} // namespace winapi::mmio
