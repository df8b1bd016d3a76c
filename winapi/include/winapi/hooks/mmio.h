#pragma once
// Test hooks for the multimedia file I/O: failing chosen calls to reach the callers' failure
// paths.

#include <mmsystem.h>

namespace winapi::hooks {

enum class MmioCall {
    GetInfo, // mmioGetInfo returns the error and fills nothing in
    SetInfo, // mmioSetInfo returns the error and takes nothing back
    Seek,    // mmioSeek returns -1 and stays put, also when the chunk functions call it
};
// Every later call of that kind on an open file fails with `error`; MMSYSERR_NOERROR lets them
// succeed again.
void FailMmioCall(MmioCall call, MMRESULT error);

// Every call succeeds again.
void ResetMmioHooks();

} // namespace winapi::hooks
