#include "mmio/injected_failures.h"

namespace winapi::mmio {

InjectedFailures<hooks::MmioCall, MMRESULT, kMmioCalls> injectedFailures;

} // namespace winapi::mmio
