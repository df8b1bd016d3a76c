#pragma once
// Test hooks for program resources: making the loading calls fail. (Tests add resources of their
// own with winapi::RegisterResource.)

#include "winapi/types.h"

namespace winapi::hooks {

enum class ResourceCall {
    LoadResource, // returns null
    LockResource, // returns null
};
// Every later call of that kind returns null and sets the last error to `error`; 0 lets them
// succeed again.
void FailResourceCall(ResourceCall call, DWORD error);

// Every call succeeds again.
void ResetResourceHooks();

} // namespace winapi::hooks
