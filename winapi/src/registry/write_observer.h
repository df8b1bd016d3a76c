#pragma once
// Who the registry hooks want told of each stage of a write (crash tests stop writers there).

#include "winapi/hooks/registry.h"

#include <functional>
#include <mutex>

namespace winapi::registry {

struct WriteObserver {
    std::mutex mutex;
    std::function<void(hooks::RegistryWriteStage)> observer;
};
extern WriteObserver writeObserver;

} // namespace winapi::registry
