#pragma once
// The live engines and the test switches that the hooks set, shared by the device and the hooks.

#include "dsound/engine.h"
#include "winapi/hooks/dsound.h"

#include <memory>
#include <vector>

namespace winapi::dsound {

// A new engine with the output that the hooks selected, known to the hooks while it lives.
std::shared_ptr<Engine> MakeEngine();

// Engines still alive, oldest first.
std::vector<std::shared_ptr<Engine>> LiveEngines();

// True (and one refusal used up) while the hooks make Restore fail.
bool TakeRestoreRefusal();

// The failure the hooks chose for this call, or DS_OK.
HRESULT InjectedFailure(hooks::SoundCall call);

} // namespace winapi::dsound
