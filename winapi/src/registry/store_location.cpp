#include "store_location.h"
#include "store_folder.h"
#include "winapi/registry_store.h"
#include "winapi/winreg.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace winapi::registry {
namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string HomeFolder() {
    std::string home = Variable("HOME");
    if (home.empty()) {
        if (const passwd* entry = getpwuid(getuid());
            entry != nullptr && entry->pw_dir != nullptr) {
            home = entry->pw_dir;
        }
    }
    return home;
}

} // namespace

std::optional<Root> PredefinedRoot(HKEY key) {
    if (key == HKEY_CLASSES_ROOT) {
        return Root::ClassesRoot;
    }
    if (key == HKEY_CURRENT_USER) {
        return Root::CurrentUser;
    }
    if (key == HKEY_LOCAL_MACHINE) {
        return Root::LocalMachine;
    }
    if (key == HKEY_USERS) {
        return Root::Users;
    }
    return std::nullopt;
}

std::string StoreFolder() {
    if (std::string folder = Variable("WINAPI_REGISTRY_DIR"); !folder.empty()) {
        return folder;
    }
    // A relative configuration folder is to be ignored, as if it were not set.
    if (std::string config = Variable("XDG_CONFIG_HOME"); config.starts_with('/')) {
        return config + "/quillerby/registry";
    }
    if (std::string home = HomeFolder(); !home.empty()) {
        return home + "/.config/quillerby/registry";
    }
    return "";
}

std::string RootFileName(Root root) {
    switch (root) {
    case Root::ClassesRoot:
        return "classes_root.hive";
    case Root::CurrentUser:
        return "current_user.hive";
    case Root::LocalMachine:
        return "local_machine.hive";
    case Root::Users:
        return "users.hive";
    }
    return "";
}

} // namespace winapi::registry

namespace winapi {

std::string RegistryStoreFolder() {
    return registry::StoreFolder();
}

std::string RegistryStoreFolderRefusal(const std::string& folder) {
    registry::FileDescriptor fd;
    std::string reason;
    if (folder.empty() ||
        registry::OpenStoreFolder(folder, false, fd, &reason) != registry::FolderState::Refused) {
        return {};
    }
    return reason;
}

} // namespace winapi
