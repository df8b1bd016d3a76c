#pragma once
// The device object: cooperative level and the factory of buffers over one engine.

#include "dsound/engine.h"

#include <dsound.h>

#include <atomic>
#include <memory>

namespace winapi::dsound {

class Device final : public IDirectSound8 {
public:
    explicit Device(std::shared_ptr<Engine> engine);

    const std::shared_ptr<Engine>& GetEngine() const { return engine_; }

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT CreateSoundBuffer(LPCDSBUFFERDESC description, IDirectSoundBuffer** buffer,
                              LPUNKNOWN outer) override;
    HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                 IDirectSoundBuffer** duplicate) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD level) override;
    HRESULT Compact() override;
    HRESULT GetSpeakerConfig(LPDWORD config) override;
    HRESULT SetSpeakerConfig(DWORD config) override;
    HRESULT Initialize(const GUID* device) override;

private:
    ~Device() = default;

    HRESULT CreateSecondary(const DSBUFFERDESC& description, IDirectSoundBuffer** buffer);

    std::atomic<ULONG> references_{1};
    std::atomic<DWORD> speakerConfig_{DSSPEAKER_STEREO};
    std::shared_ptr<Engine> engine_;
};

} // namespace winapi::dsound
