#pragma once
// The process's open key handles. A handle names a key by its root, path and id, and carries the
// access it was opened with; the predefined roots are handles with every access.

#include "hive.h"
#include "store_location.h"
#include "winapi/winreg.h"

#include <optional>

namespace winapi::registry {

struct KeyHandle {
    Root root = Root::CurrentUser;
    std::uint64_t id = 0;
    std::string path;
    REGSAM access = 0;
};

// Maps the generic and maximum-allowed rights onto the key rights they stand for.
REGSAM KeyRights(REGSAM access);

std::optional<KeyHandle> LookUpHandle(HKEY key);
HKEY AddHandle(KeyHandle handle);
bool RemoveHandle(HKEY key);
// How many handles are open (for the registry hooks).
std::size_t OpenHandleCount();

} // namespace winapi::registry
