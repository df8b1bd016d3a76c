#include "winapi/hooks/dsound.h"

#include "dsound/device.h"
#include "dsound/registry.h"

#include <algorithm>

namespace winapi::hooks {

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
    dsound::injectedFailures.Set(call, FAILED(result) ? result : DS_OK);
}

void ResetSoundHooks() {
    dsound::injectedFailures.Clear();
    dsound::restoreRefusals = 0;
}

} // namespace winapi::hooks
