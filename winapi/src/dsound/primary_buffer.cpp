// The primary buffer.

#include "dsound/primary_buffer.h"

#include "dsound/registry.h"
#include "dsound/sample_format.h"

#include <algorithm>
#include <cstring>

namespace winapi::dsound {

PrimaryBuffer::PrimaryBuffer(std::shared_ptr<Engine> engine, DWORD flags)
    : engine_(std::move(engine)), flags_(flags) {}

HRESULT PrimaryBuffer::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDirectSoundBuffer) {
        AddRef();
        *object = static_cast<IDirectSoundBuffer*>(this);
        return S_OK;
    }
    if (const HRESULT failure = InjectedFailure(hooks::SoundCall::QueryInterface);
        FAILED(failure)) {
        return failure;
    }
    if (riid == IID_IDirectSound3DListener && (flags_ & DSBCAPS_CTRL3D)) {
        *object = static_cast<IDirectSound3DListener*>(new Listener(engine_));
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG PrimaryBuffer::AddRef() {
    return ++references_;
}

ULONG PrimaryBuffer::Release() {
    const ULONG remaining = --references_;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

DWORD PrimaryBuffer::BufferBytes() {
    const SampleFormat format = engine_->OutputFormat();
    return std::max<DWORD>(1, format.rate / 50) * format.blockAlign;
}

HRESULT PrimaryBuffer::GetCaps(LPDSBCAPS caps) {
    if (caps == nullptr || caps->dwSize != sizeof(DSBCAPS)) {
        return DSERR_INVALIDPARAM;
    }
    caps->dwFlags = flags_ | DSBCAPS_LOCSOFTWARE;
    caps->dwBufferBytes = BufferBytes();
    caps->dwUnlockTransferRate = 0;
    caps->dwPlayCpuOverhead = 0;
    return DS_OK;
}

HRESULT PrimaryBuffer::GetCurrentPosition(LPDWORD playCursor, LPDWORD writeCursor) {
    if (playCursor == nullptr && writeCursor == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    const SampleFormat format = engine_->OutputFormat();
    const DWORD size = BufferBytes();
    const auto play = static_cast<DWORD>(engine_->FramesRendered() * format.blockAlign % size);
    if (playCursor != nullptr) {
        *playCursor = play;
    }
    if (writeCursor != nullptr) {
        // The mixer writes one of its blocks ahead of the cursor.
        *writeCursor = (play + 256 * format.blockAlign) % size;
    }
    return DS_OK;
}

HRESULT PrimaryBuffer::GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, LPDWORD sizeWritten) {
    return CopyFormatRecord(engine_->OutputFormatRecord(), format, sizeAllocated, sizeWritten);
}

HRESULT PrimaryBuffer::GetVolume(LPLONG volume) {
    if (volume == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) {
        return DSERR_CONTROLUNAVAIL;
    }
    std::lock_guard lock(engine_->Lock());
    *volume = engine_->masterVolume;
    return DS_OK;
}

HRESULT PrimaryBuffer::GetPan(LPLONG pan) {
    if (pan == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (!(flags_ & DSBCAPS_CTRLPAN)) {
        return DSERR_CONTROLUNAVAIL;
    }
    std::lock_guard lock(engine_->Lock());
    *pan = engine_->masterPan;
    return DS_OK;
}

HRESULT PrimaryBuffer::GetFrequency(LPDWORD) {
    return DSERR_CONTROLUNAVAIL;
}

HRESULT PrimaryBuffer::GetStatus(LPDWORD status) {
    if (status == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    bool playing;
    {
        std::lock_guard lock(engine_->Lock());
        playing = engine_->primaryPlaying;
    }
    playing = playing || engine_->AnyVoicePlaying();
    *status = playing ? DSBSTATUS_PLAYING | DSBSTATUS_LOOPING : 0;
    return DS_OK;
}

HRESULT PrimaryBuffer::Lock(DWORD, DWORD, LPVOID*, LPDWORD, LPVOID*, LPDWORD, DWORD) {
    return engine_->cooperativeLevel == DSSCL_WRITEPRIMARY ? DSERR_UNSUPPORTED
                                                           : DSERR_PRIOLEVELNEEDED;
}

HRESULT PrimaryBuffer::Unlock(LPVOID, DWORD, LPVOID, DWORD) {
    return DSERR_INVALIDCALL;
}

HRESULT PrimaryBuffer::Play(DWORD reserved, DWORD priority, DWORD flags) {
    if (reserved != 0 || priority != 0 || !(flags & DSBPLAY_LOOPING)) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(engine_->Lock());
    engine_->primaryPlaying = true;
    return DS_OK;
}

HRESULT PrimaryBuffer::Stop() {
    std::lock_guard lock(engine_->Lock());
    engine_->primaryPlaying = false;
    return DS_OK;
}

HRESULT PrimaryBuffer::SetCurrentPosition(DWORD) {
    return DSERR_INVALIDCALL;
}

HRESULT PrimaryBuffer::SetFormat(LPCWAVEFORMATEX format) {
    if (engine_->cooperativeLevel < DSSCL_PRIORITY) {
        return DSERR_PRIOLEVELNEEDED;
    }
    SampleFormat parsed;
    std::vector<BYTE> record;
    if (const HRESULT result = ParseWaveFormat(format, &parsed, &record); FAILED(result)) {
        return result;
    }
    engine_->SetOutputFormat(parsed, std::move(record));
    return DS_OK;
}

HRESULT PrimaryBuffer::SetVolume(LONG volume) {
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(engine_->Lock());
    engine_->masterVolume = volume;
    return DS_OK;
}

HRESULT PrimaryBuffer::SetPan(LONG pan) {
    if (!(flags_ & DSBCAPS_CTRLPAN)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(engine_->Lock());
    engine_->masterPan = pan;
    return DS_OK;
}

HRESULT PrimaryBuffer::SetFrequency(DWORD) {
    return DSERR_CONTROLUNAVAIL;
}

HRESULT PrimaryBuffer::Restore() {
    return DS_OK;
}

} // namespace winapi::dsound
