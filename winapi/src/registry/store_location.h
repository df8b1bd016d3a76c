#pragma once
// Where the store lives: the folder named by WINAPI_REGISTRY_DIR, else
// $XDG_CONFIG_HOME/quillerby/registry, else ~/.config/quillerby/registry. One file per root.

#include "winapi/types.h"

#include <optional>
#include <string>

namespace winapi::registry {

enum class Root { ClassesRoot, CurrentUser, LocalMachine, Users };

// The predefined handle's root, or none for any other handle.
std::optional<Root> PredefinedRoot(HKEY key);

// Empty when neither the variables nor the home folder give a location.
std::string StoreFolder();
std::string RootFileName(Root root); // e.g. "local_machine.hive", inside StoreFolder()

} // namespace winapi::registry
