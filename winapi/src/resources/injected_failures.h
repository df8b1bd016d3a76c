#pragma once
// The failures the test hooks chose for the resource loading calls.

#include "kernel/injected_failures.h"
#include "winapi/hooks/resources.h"

namespace winapi::resources {

inline constexpr std::size_t kResourceCalls =
    static_cast<std::size_t>(hooks::ResourceCall::LockResource) + 1;
extern InjectedFailures<hooks::ResourceCall, DWORD, kResourceCalls> injectedFailures;

} // namespace winapi::resources
