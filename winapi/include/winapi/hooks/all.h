#pragma once
// Every service's hooks back to their start-up state, for test fixtures.

namespace winapi::hooks {

// Resets the hooks of the clock, debug output, sound, graphics, input, multimedia files, module,
// registry, resources, shell and windows. The platform profile is left as it is.
void ResetAll();

} // namespace winapi::hooks
