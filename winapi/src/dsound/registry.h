#pragma once
// The live engines and the test switches that the hooks set, shared by the device and the hooks.

#include "dsound/engine.h"
#include "kernel/injected_failures.h"
#include "winapi/hooks/dsound.h"

#include <atomic>
#include <memory>
#include <vector>

namespace winapi::dsound {

// A new engine on the sound output of the selected profile, known to the hooks while it lives.
std::shared_ptr<Engine> MakeEngine();

// Engines still alive, oldest first.
std::vector<std::shared_ptr<Engine>> LiveEngines();

// Set by the hooks while the output device is unplugged: SDL2 devices stop pulling, read as
// removed and cannot be opened.
extern std::atomic<bool> outputDeviceRemoved;

// How many of the next restores fail (set by the hooks).
extern std::atomic<int> restoreRefusals;
// True (and one refusal used up) while the hooks make Restore fail.
bool TakeRestoreRefusal();

inline constexpr std::size_t kSoundCalls =
    static_cast<std::size_t>(hooks::SoundCall::SetNotificationPositions) + 1;
extern InjectedFailures<hooks::SoundCall, HRESULT, kSoundCalls> injectedFailures;

// The failure the hooks chose for this call, or DS_OK.
inline HRESULT InjectedFailure(hooks::SoundCall call) {
    return injectedFailures.For(call);
}

} // namespace winapi::dsound
