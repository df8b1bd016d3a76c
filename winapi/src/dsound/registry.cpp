// The live engines, and the switches that the sound hooks set.

#include "dsound/registry.h"

#include "profile/backends.h"

#include <algorithm>
#include <mutex>

namespace winapi::dsound {
namespace {

std::mutex registryMutex;
std::vector<std::weak_ptr<Engine>> engines;

} // namespace

std::atomic<bool> outputDeviceRemoved{false};
std::atomic<int> restoreRefusals{0};
InjectedFailures<hooks::SoundCall, HRESULT, kSoundCalls> injectedFailures;

std::shared_ptr<Engine> MakeEngine() {
    auto engine = std::make_shared<Engine>(profile::Backends().sound);
    std::lock_guard lock(registryMutex);
    std::erase_if(engines, [](const std::weak_ptr<Engine>& entry) { return entry.expired(); });
    engines.push_back(engine);
    return engine;
}

std::vector<std::shared_ptr<Engine>> LiveEngines() {
    std::lock_guard lock(registryMutex);
    std::vector<std::shared_ptr<Engine>> live;
    for (const std::weak_ptr<Engine>& entry : engines) {
        if (auto engine = entry.lock()) {
            live.push_back(std::move(engine));
        }
    }
    return live;
}

bool TakeRestoreRefusal() {
    int remaining = restoreRefusals.load();
    while (remaining > 0) {
        if (restoreRefusals.compare_exchange_weak(remaining, remaining - 1)) {
            return true;
        }
    }
    return false;
}

} // namespace winapi::dsound
