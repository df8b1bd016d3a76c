#include "winapi/hooks/dsound.h"

#include "dsound/device.h"
#include "dsound/registry.h"

#include <algorithm>

namespace winapi::hooks {
namespace {

// The engine of `device`, or with none the most recently made live one.
std::shared_ptr<dsound::Engine> EngineOf(IDirectSound8* device) {
    if (device != nullptr) {
        auto* ours = dynamic_cast<dsound::Device*>(device);
        return ours != nullptr ? ours->GetEngine() : nullptr;
    }
    auto live = dsound::LiveEngines();
    return live.empty() ? nullptr : live.back();
}

} // namespace

std::vector<BYTE> RenderSoundMix(DWORD frames, IDirectSound8* device) {
    const std::shared_ptr<dsound::Engine> engine = EngineOf(device);
    if (!engine || !engine->Offline()) {
        return {};
    }
    const dsound::SampleFormat format = engine->OutputFormat();
    std::vector<BYTE> bytes(static_cast<std::size_t>(frames) * format.blockAlign);
    engine->Render(bytes.data(), frames, format);
    return bytes;
}

bool InsideSoundMix() {
    return dsound::MixingOnThisThread();
}

void LoseSoundBuffers() {
    for (const auto& engine : dsound::LiveEngines()) {
        engine->LoseAllVoices();
    }
}

void RemoveOutputDevice() {
    dsound::outputDeviceRemoved = true;
}

void ReturnOutputDevice() {
    dsound::outputDeviceRemoved = false;
}

bool PlaysIntoOutputDevice(IDirectSound8* device) {
    return SoundOutputLatencyFrames(device) > 0;
}

DWORD SoundOutputLatencyFrames(IDirectSound8* device) {
    const std::shared_ptr<dsound::Engine> engine = EngineOf(device);
    if (!engine) {
        return 0;
    }
    const DWORD buffer = dsound::OutputDeviceBufferFrames(*engine);
    return buffer > 0 ? buffer + std::min(buffer, dsound::kBlockFrames) : 0;
}

void RefuseSoundRestores(int count) {
    dsound::restoreRefusals = std::max(count, 0);
}

void FailSoundCall(SoundCall call, HRESULT result) {
    dsound::injectedFailures.Set(call, FAILED(result) ? result : DS_OK);
}

void ResetSoundHooks() {
    dsound::injectedFailures.Clear();
    dsound::restoreRefusals = 0;
    dsound::outputDeviceRemoved = false;
}

} // namespace winapi::hooks
