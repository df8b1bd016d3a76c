#pragma once
// Ours, not the platform's: where the registry keeps its files, one per root. The folder named by
// WINAPI_REGISTRY_DIR, else $XDG_CONFIG_HOME/quillerby/registry, else ~/.config/quillerby/registry.

#include <string>

namespace winapi {

// Empty when neither the variables nor the home folder give a location.
std::string RegistryStoreFolder();

// Why the store refuses this folder (another user owns it, or its group or others can write to
// it), or "" when it does not: then the folder is usable, or missing and made when first written.
std::string RegistryStoreFolderRefusal(const std::string& folder);

} // namespace winapi
