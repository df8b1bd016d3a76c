#include "mmio/injected_failures.h"

#include <array>
#include <atomic>
#include <cstddef>

namespace winapi::mmio {
namespace {

constexpr std::size_t kMmioCalls = static_cast<std::size_t>(hooks::MmioCall::Seek) + 1;
std::array<std::atomic<MMRESULT>, kMmioCalls> injectedFailures{};

} // namespace

MMRESULT InjectedFailure(hooks::MmioCall call) {
    return injectedFailures[static_cast<std::size_t>(call)].load();
}

} // namespace winapi::mmio

namespace winapi::hooks {

void FailMmioCall(MmioCall call, MMRESULT error) {
    mmio::injectedFailures[static_cast<std::size_t>(call)] = error;
}

void ResetMmioFailures() {
    for (auto& failure : mmio::injectedFailures) {
        failure = MMSYSERR_NOERROR;
    }
}

} // namespace winapi::hooks
