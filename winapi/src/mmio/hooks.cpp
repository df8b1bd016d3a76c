#include "winapi/hooks/mmio.h"

#include "mmio/injected_failures.h"

namespace winapi::hooks {

void FailMmioCall(MmioCall call, MMRESULT error) {
    mmio::injectedFailures.Set(call, error);
}

void ResetMmioHooks() {
    mmio::injectedFailures.Clear();
}

} // namespace winapi::hooks
