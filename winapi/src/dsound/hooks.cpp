// The live engines, the output the tests selected, and the test hooks over them.

#include "dsound/device.h"
#include "dsound/registry.h"
#include "winapi/hooks/dsound.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>

namespace winapi::dsound {
namespace {

std::mutex registryMutex;
std::vector<std::weak_ptr<Engine>> engines;
hooks::SoundOutput selectedOutput = hooks::SoundOutput::Device;
std::atomic<int> restoreRefusals{0};
constexpr std::size_t kSoundCalls =
    static_cast<std::size_t>(hooks::SoundCall::SetNotificationPositions) + 1;
std::array<std::atomic<HRESULT>, kSoundCalls> injectedFailures{};

} // namespace

std::shared_ptr<Engine> MakeEngine() {
    hooks::SoundOutput output;
    {
        std::lock_guard lock(registryMutex);
        output = selectedOutput;
    }
    auto engine = std::make_shared<Engine>(output);
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

HRESULT InjectedFailure(hooks::SoundCall call) {
    return injectedFailures[static_cast<std::size_t>(call)].load();
}

} // namespace winapi::dsound

namespace winapi::hooks {

void SelectSoundOutput(SoundOutput output) {
    std::lock_guard lock(dsound::registryMutex);
    dsound::selectedOutput = output;
}

std::vector<BYTE> RenderSoundMix(DWORD frames, IDirectSound8* device) {
    std::shared_ptr<dsound::Engine> engine;
    if (device != nullptr) {
        if (auto* ours = dynamic_cast<dsound::Device*>(device)) {
            engine = ours->GetEngine();
        }
    } else {
        auto live = dsound::LiveEngines();
        if (!live.empty()) {
            engine = live.back();
        }
    }
    if (!engine || !engine->Offline()) {
        return {};
    }
    const dsound::SampleFormat format = engine->OutputFormat();
    std::vector<BYTE> bytes(static_cast<std::size_t>(frames) * format.blockAlign);
    engine->Render(bytes.data(), frames, format);
    return bytes;
}

void LoseSoundBuffers() {
    for (const auto& engine : dsound::LiveEngines()) {
        engine->LoseAllVoices();
    }
}

void RefuseSoundRestores(int count) {
    dsound::restoreRefusals = std::max(count, 0);
}

void FailSoundCall(SoundCall call, HRESULT result) {
    dsound::injectedFailures[static_cast<std::size_t>(call)] = FAILED(result) ? result : DS_OK;
}

void ResetSoundFailures() {
    for (auto& failure : dsound::injectedFailures) {
        failure = DS_OK;
    }
}

} // namespace winapi::hooks
