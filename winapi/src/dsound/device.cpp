// The device object and DirectSoundCreate8.

#include "dsound/device.h"

#include "dsound/primary_buffer.h"
#include "dsound/registry.h"
#include "dsound/sound_buffer.h"

#include <new>

namespace winapi::dsound {
namespace {

constexpr DWORD kPrimaryOnlyFlags =
    DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_CTRLFX | DSBCAPS_LOCDEFER;

// The 3D algorithms a software mixer offers. The virtualising ones are answered with plain
// panning and DS_NO_VIRTUALIZATION, a success code.
HRESULT Check3DAlgorithm(DWORD flags, const GUID& algorithm) {
    if (!(flags & DSBCAPS_CTRL3D)) {
        return algorithm == GUID_NULL ? DS_OK : DSERR_INVALIDPARAM;
    }
    if (algorithm == GUID_NULL || algorithm == DS3DALG_NO_VIRTUALIZATION) {
        return DS_OK;
    }
    if (algorithm == DS3DALG_HRTF_FULL || algorithm == DS3DALG_HRTF_LIGHT) {
        return DS_NO_VIRTUALIZATION;
    }
    return DSERR_INVALIDPARAM;
}

} // namespace

Device::Device(std::shared_ptr<Engine> engine) : engine_(std::move(engine)) {}

HRESULT Device::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDirectSound8) {
        AddRef();
        *object = static_cast<IDirectSound8*>(this);
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG Device::AddRef() {
    return ++references_;
}

ULONG Device::Release() {
    const ULONG remaining = --references_;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

HRESULT Device::CreateSoundBuffer(LPCDSBUFFERDESC description, IDirectSoundBuffer** buffer,
                                  LPUNKNOWN outer) {
    if (buffer == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *buffer = nullptr;
    if (description == nullptr || (description->dwSize != sizeof(DSBUFFERDESC) &&
                                   description->dwSize != DSBUFFERDESC_PLATFORM_SIZE)) {
        return DSERR_INVALIDPARAM;
    }
    if (outer != nullptr) {
        return DSERR_NOAGGREGATION;
    }
    if (engine_->cooperativeLevel == 0) {
        return DSERR_PRIOLEVELNEEDED;
    }
    if (!(description->dwFlags & DSBCAPS_PRIMARYBUFFER)) {
        return CreateSecondary(*description, buffer);
    }
    if (description->dwBufferBytes != 0 || description->lpwfxFormat != nullptr ||
        (description->dwFlags & kPrimaryOnlyFlags)) {
        return DSERR_INVALIDPARAM;
    }
    *buffer = new (std::nothrow) PrimaryBuffer(engine_, description->dwFlags);
    return *buffer != nullptr ? DS_OK : DSERR_OUTOFMEMORY;
}

HRESULT Device::CreateSecondary(const DSBUFFERDESC& description, IDirectSoundBuffer** buffer) {
    const DWORD flags = description.dwFlags;
    if ((flags & DSBCAPS_LOCHARDWARE) && (flags & DSBCAPS_LOCSOFTWARE)) {
        return DSERR_INVALIDPARAM;
    }
    if (flags & DSBCAPS_LOCHARDWARE) {
        return DSERR_INVALIDCALL; // there are no hardware voices
    }
    auto memory = std::make_shared<SoundMemory>();
    if (const HRESULT result =
            ParseWaveFormat(description.lpwfxFormat, &memory->format, &memory->formatRecord);
        FAILED(result)) {
        return result;
    }
    const DWORD bytes = description.dwBufferBytes;
    if (bytes < DSBSIZE_MIN || bytes > DSBSIZE_MAX || bytes < memory->format.blockAlign) {
        return DSERR_INVALIDPARAM;
    }
    if ((flags & DSBCAPS_CTRL3D) && (memory->format.channels != 1 || (flags & DSBCAPS_CTRLPAN))) {
        return DSERR_INVALIDPARAM;
    }
    const HRESULT algorithm = Check3DAlgorithm(flags, description.guid3DAlgorithm);
    if (FAILED(algorithm)) {
        return algorithm;
    }
    if ((flags & DSBCAPS_CTRLFX) &&
        static_cast<std::uint64_t>(bytes) * 1000 < static_cast<std::uint64_t>(memory->format.rate) *
                                                       memory->format.blockAlign * DSBSIZE_FX_MIN) {
        return DSERR_BUFFERTOOSMALL;
    }
    memory->bytes.resize(bytes);
    memory->staging.resize(bytes);
    *buffer = static_cast<IDirectSoundBuffer*>(new SoundBuffer(engine_, std::move(memory), flags));
    return algorithm;
}

HRESULT Device::DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** duplicate) {
    if (duplicate == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *duplicate = nullptr;
    if (original == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    auto* source = dynamic_cast<SoundBuffer*>(original);
    if (source == nullptr) {
        return DSERR_INVALIDCALL; // the primary buffer
    }
    if (source->Flags() & DSBCAPS_CTRLFX) {
        return DSERR_INVALIDCALL;
    }
    if (const HRESULT failure = InjectedFailure(hooks::SoundCall::DuplicateSoundBuffer);
        FAILED(failure)) {
        return failure;
    }
    *duplicate = static_cast<IDirectSoundBuffer*>(new SoundBuffer(*source));
    return DS_OK;
}

HRESULT Device::SetCooperativeLevel(HWND window, DWORD level) {
    if (window == nullptr || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) {
        return DSERR_INVALIDPARAM;
    }
    if (const HRESULT failure = InjectedFailure(hooks::SoundCall::SetCooperativeLevel);
        FAILED(failure)) {
        return failure;
    }
    engine_->cooperativeLevel = level;
    return DS_OK;
}

HRESULT Device::Compact() {
    return engine_->cooperativeLevel >= DSSCL_PRIORITY ? DS_OK : DSERR_PRIOLEVELNEEDED;
}

HRESULT Device::GetSpeakerConfig(LPDWORD config) {
    if (config == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *config = speakerConfig_;
    return DS_OK;
}

HRESULT Device::SetSpeakerConfig(DWORD config) {
    const BYTE layout = DSSPEAKER_CONFIG(config);
    if (layout < DSSPEAKER_HEADPHONE || layout > DSSPEAKER_7POINT1) {
        return DSERR_INVALIDPARAM;
    }
    speakerConfig_ = config;
    return DS_OK;
}

HRESULT Device::Initialize(const GUID*) {
    return DSERR_ALREADYINITIALIZED;
}

} // namespace winapi::dsound

HRESULT DirectSoundCreate8(const GUID* pcGuidDevice, LPDIRECTSOUND8* ppDS8, LPUNKNOWN pUnkOuter) {
    if (ppDS8 == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *ppDS8 = nullptr;
    if (pUnkOuter != nullptr) {
        return DSERR_NOAGGREGATION;
    }
    if (pcGuidDevice != nullptr && !(*pcGuidDevice == GUID_NULL)) {
        return DSERR_NODRIVER;
    }
    using winapi::dsound::InjectedFailure;
    if (const HRESULT failure = InjectedFailure(winapi::hooks::SoundCall::DirectSoundCreate8);
        FAILED(failure)) {
        return failure;
    }
    *ppDS8 = new winapi::dsound::Device(winapi::dsound::MakeEngine());
    return DS_OK;
}
