#pragma once
// Real folder trees, a private registry store and a pretended executable location for the
// utilities' tests.

#include "../winapi/path_test_tree.h"

#include "winapi/hooks/module.h"
#include <windows.h>

#include <cstdlib>
#include <string>

namespace testing_tree {

// Points the registry at an empty store inside the tree for the guard's lifetime.
class PrivateRegistry {
public:
    explicit PrivateRegistry(const TempTree& tree) {
        const std::filesystem::path folder = tree.Folder("registry");
        // The store refuses a folder its group can write, which a loose mask would give.
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        ::setenv("WINAPI_REGISTRY_DIR", folder.c_str(), 1);
    }
    ~PrivateRegistry() { ::unsetenv("WINAPI_REGISTRY_DIR"); }
    PrivateRegistry(const PrivateRegistry&) = delete;
    PrivateRegistry& operator=(const PrivateRegistry&) = delete;
};

// Makes GetModuleFileNameA report an executable inside the tree.
class PretendedExecutable {
public:
    explicit PretendedExecutable(const std::filesystem::path& linuxPath) {
        winapi::hooks::SetExecutablePath(linuxPath.string());
    }
    ~PretendedExecutable() { winapi::hooks::SetExecutablePath(""); }
    PretendedExecutable(const PretendedExecutable&) = delete;
    PretendedExecutable& operator=(const PretendedExecutable&) = delete;
};

// Records the SDK's samples folder where its installer would.
inline void RecordSdkSamplesPath(const std::string& folder) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX SDK", 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "DX9D4SDK Samples Path", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>(folder.size() + 1));
        RegCloseKey(key);
    }
}

} // namespace testing_tree
