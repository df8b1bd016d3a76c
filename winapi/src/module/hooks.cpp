#include "winapi/hooks/module.h"

#include "module/executable_path.h"

namespace winapi::hooks {

void SetExecutablePath(std::string linuxPath) {
    std::lock_guard lock(module::pretendedExecutable.mutex);
    module::pretendedExecutable.path = std::move(linuxPath);
}

void ResetModuleHooks() {
    SetExecutablePath("");
}

} // namespace winapi::hooks
