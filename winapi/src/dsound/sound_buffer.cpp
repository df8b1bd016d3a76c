// The secondary buffer's own methods: status, cursors, locking, playing and the controls.

#include "dsound/sound_buffer.h"

#include "dsound/notifications.h"
#include "dsound/registry.h"
#include "dsound/sample_format.h"
#include "dsound/spatial.h"

#include <algorithm>
#include <cstring>

namespace winapi::dsound {
namespace {

// Call with the engine's lock held, or before the voice joins the mix.
void FillWithSilence(SoundMemory& memory) {
    const BYTE silence = SilenceByte(memory.format.encoding);
    std::fill(memory.bytes.begin(), memory.bytes.end(), silence);
    std::fill(memory.staging.begin(), memory.staging.end(), silence);
}

bool Inside(const BYTE* begin, const BYTE* end, const void* region, DWORD bytes) {
    const auto* start = static_cast<const BYTE*>(region);
    return start >= begin && start <= end && bytes <= static_cast<std::size_t>(end - start);
}

} // namespace

SoundBuffer::SoundBuffer(std::shared_ptr<Engine> engine, std::shared_ptr<SoundMemory> memory,
                         DWORD flags)
    : engine_(std::move(engine)) {
    FillWithSilence(*memory);
    voice_.frequency = memory->format.rate;
    voice_.memory = std::move(memory);
    voice_.flags = flags;
    voice_.spatial = DefaultBufferParameters();
    engine_->AddVoice(&voice_);
}

SoundBuffer::SoundBuffer(SoundBuffer& original) : engine_(original.engine_) {
    {
        std::lock_guard lock(engine_->Lock());
        const Voice& source = original.voice_;
        voice_.memory = source.memory;
        voice_.flags = source.flags;
        voice_.lost = source.lost;
        voice_.frequency = source.frequency;
        voice_.volume = source.volume;
        voice_.pan = source.pan;
        voice_.spatial = source.spatial;
    }
    engine_->AddVoice(&voice_);
}

SoundBuffer::~SoundBuffer() {
    engine_->RemoveVoice(&voice_);
}

HRESULT SoundBuffer::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    const HRESULT injected = InjectedFailure(hooks::SoundCall::QueryInterface);
    if (riid == IID_IUnknown || riid == IID_IDirectSoundBuffer) {
        *object = static_cast<IDirectSoundBuffer*>(this);
    } else if (FAILED(injected)) {
        return injected;
    } else if (riid == IID_IDirectSoundNotify && (voice_.flags & DSBCAPS_CTRLPOSITIONNOTIFY)) {
        *object = static_cast<IDirectSoundNotify*>(this);
    } else if (riid == IID_IDirectSound3DBuffer && (voice_.flags & DSBCAPS_CTRL3D)) {
        *object = static_cast<IDirectSound3DBuffer*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG SoundBuffer::AddRef() {
    return ++references_;
}

ULONG SoundBuffer::Release() {
    const ULONG remaining = --references_;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

HRESULT SoundBuffer::GetCaps(LPDSBCAPS caps) {
    if (caps == nullptr || caps->dwSize != sizeof(DSBCAPS)) {
        return DSERR_INVALIDPARAM;
    }
    caps->dwFlags = (voice_.flags & ~DSBCAPS_LOCDEFER) | DSBCAPS_LOCSOFTWARE;
    caps->dwBufferBytes = static_cast<DWORD>(voice_.memory->bytes.size());
    caps->dwUnlockTransferRate = 0;
    caps->dwPlayCpuOverhead = 0;
    return DS_OK;
}

DWORD SoundBuffer::WriteLeadBytes() const {
    // The mixer reads about 10 ms ahead of what is heard; the write cursor sits that far ahead.
    return std::max<DWORD>(1, voice_.frequency / 100) * voice_.memory->format.blockAlign;
}

HRESULT SoundBuffer::GetCurrentPosition(LPDWORD playCursor, LPDWORD writeCursor) {
    if (playCursor == nullptr && writeCursor == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(engine_->Lock());
    const DWORD play = voice_.PlayCursor();
    if (playCursor != nullptr) {
        *playCursor = play;
    }
    if (writeCursor != nullptr) {
        const auto size = static_cast<DWORD>(voice_.memory->bytes.size());
        *writeCursor =
            voice_.playing
                ? static_cast<DWORD>((static_cast<std::uint64_t>(play) + WriteLeadBytes()) % size)
                : play;
    }
    return DS_OK;
}

HRESULT SoundBuffer::GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, LPDWORD sizeWritten) {
    return CopyFormatRecord(voice_.memory->formatRecord, format, sizeAllocated, sizeWritten);
}

HRESULT SoundBuffer::GetVolume(LPLONG volume) {
    if (volume == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (!(voice_.flags & DSBCAPS_CTRLVOLUME)) {
        return DSERR_CONTROLUNAVAIL;
    }
    std::lock_guard lock(engine_->Lock());
    *volume = voice_.volume;
    return DS_OK;
}

HRESULT SoundBuffer::GetPan(LPLONG pan) {
    if (pan == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (!(voice_.flags & DSBCAPS_CTRLPAN)) {
        return DSERR_CONTROLUNAVAIL;
    }
    std::lock_guard lock(engine_->Lock());
    *pan = voice_.pan;
    return DS_OK;
}

HRESULT SoundBuffer::GetFrequency(LPDWORD frequency) {
    if (frequency == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (!(voice_.flags & DSBCAPS_CTRLFREQUENCY)) {
        return DSERR_CONTROLUNAVAIL;
    }
    std::lock_guard lock(engine_->Lock());
    *frequency = voice_.frequency;
    return DS_OK;
}

HRESULT SoundBuffer::GetStatus(LPDWORD status) {
    if (status == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(engine_->Lock());
    DWORD bits = 0;
    if (voice_.lost) {
        bits |= DSBSTATUS_BUFFERLOST;
    }
    if (voice_.playing) {
        bits |= DSBSTATUS_PLAYING;
        if (voice_.looping) {
            bits |= DSBSTATUS_LOOPING;
        }
    }
    *status = bits;
    return DS_OK;
}

HRESULT SoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* region1, LPDWORD bytes1,
                          LPVOID* region2, LPDWORD bytes2, DWORD flags) {
    if (region1 == nullptr || bytes1 == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(engine_->Lock());
    if (voice_.lost) {
        return DSERR_BUFFERLOST;
    }
    std::vector<BYTE>& memory = voice_.memory->staging;
    const auto size = static_cast<DWORD>(memory.size());
    if (flags & DSBLOCK_FROMWRITECURSOR) {
        const DWORD play = voice_.PlayCursor();
        offset =
            voice_.playing
                ? static_cast<DWORD>((static_cast<std::uint64_t>(play) + WriteLeadBytes()) % size)
                : play;
    }
    if (flags & DSBLOCK_ENTIREBUFFER) {
        // The whole buffer, as one region from its start.
        offset = 0;
        bytes = size;
    }
    if (offset >= size || bytes == 0 || bytes > size) {
        return DSERR_INVALIDPARAM;
    }
    // The caller writes the regions without the lock, as on the platform. They lie in the staging
    // copy, so the mixer keeps playing the old sound there until Unlock hands the new one over.
    const DWORD first = std::min(bytes, size - offset);
    *region1 = memory.data() + offset;
    *bytes1 = first;
    if (region2 != nullptr) {
        *region2 = first < bytes ? memory.data() : nullptr;
    }
    if (bytes2 != nullptr) {
        *bytes2 = first < bytes && region2 != nullptr ? bytes - first : 0;
    }
    return DS_OK;
}

HRESULT SoundBuffer::Unlock(LPVOID region1, DWORD bytes1, LPVOID region2, DWORD bytes2) {
    SoundMemory& memory = *voice_.memory;
    const BYTE* begin = memory.staging.data();
    const BYTE* end = begin + memory.staging.size();
    if (region1 == nullptr || !Inside(begin, end, region1, bytes1) ||
        (region2 != nullptr && !Inside(begin, end, region2, bytes2))) {
        return DSERR_INVALIDPARAM;
    }
    const auto commit = [&](const void* region, DWORD bytes) {
        const auto offset = static_cast<const BYTE*>(region) - begin;
        std::copy_n(static_cast<const BYTE*>(region), bytes, memory.bytes.begin() + offset);
    };
    std::lock_guard lock(engine_->Lock());
    commit(region1, bytes1);
    if (region2 != nullptr) {
        commit(region2, bytes2);
    }
    return DS_OK;
}

HRESULT SoundBuffer::Play(DWORD reserved, DWORD priority, DWORD flags) {
    if (reserved != 0 || (priority != 0 && !(voice_.flags & DSBCAPS_LOCDEFER)) ||
        ((flags & DSBPLAY_LOCHARDWARE) && (flags & DSBPLAY_LOCSOFTWARE))) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(engine_->Lock());
    if (voice_.lost) {
        return DSERR_BUFFERLOST;
    }
    if (!voice_.playing) {
        voice_.starting = true;
        voice_.playing = true;
    }
    voice_.looping = (flags & DSBPLAY_LOOPING) != 0;
    return DS_OK;
}

HRESULT SoundBuffer::SetCurrentPosition(DWORD position) {
    std::lock_guard lock(engine_->Lock());
    if (position >= voice_.memory->bytes.size()) {
        return DSERR_INVALIDPARAM;
    }
    const DWORD frame = position / voice_.memory->format.blockAlign;
    voice_.position = static_cast<std::uint64_t>(frame) << 32;
    return DS_OK;
}

HRESULT SoundBuffer::SetFormat(LPCWAVEFORMATEX) {
    return DSERR_INVALIDCALL;
}

HRESULT SoundBuffer::SetVolume(LONG volume) {
    if (!(voice_.flags & DSBCAPS_CTRLVOLUME)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(engine_->Lock());
    voice_.volume = volume;
    return DS_OK;
}

HRESULT SoundBuffer::SetPan(LONG pan) {
    if (!(voice_.flags & DSBCAPS_CTRLPAN)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(engine_->Lock());
    voice_.pan = pan;
    return DS_OK;
}

HRESULT SoundBuffer::SetFrequency(DWORD frequency) {
    if (!(voice_.flags & DSBCAPS_CTRLFREQUENCY)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (frequency != DSBFREQUENCY_ORIGINAL &&
        (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX)) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(engine_->Lock());
    voice_.frequency = frequency == DSBFREQUENCY_ORIGINAL ? voice_.memory->format.rate : frequency;
    return DS_OK;
}

HRESULT SoundBuffer::Stop() {
    std::lock_guard lock(engine_->Lock());
    if (voice_.playing) {
        voice_.playing = false;
        for (const Notification& notification : voice_.notifications) {
            if (notification.dwOffset == DSBPN_OFFSETSTOP && notification.event) {
                notification.event->Set();
            }
        }
    }
    return DS_OK;
}

HRESULT SoundBuffer::Restore() {
    if (TakeRestoreRefusal()) {
        return DSERR_BUFFERLOST;
    }
    std::vector<BYTE> silence;
    {
        std::lock_guard lock(engine_->Lock());
        if (!voice_.lost) {
            return DS_OK;
        }
        silence.resize(voice_.memory->bytes.size());
    }
    // Filled without the lock, which the mixer needs; the memory is swapped in under it. The
    // staging copy is the application's side and never read by the mixer.
    const BYTE silenceByte = SilenceByte(voice_.memory->format.encoding);
    std::fill(silence.begin(), silence.end(), silenceByte);
    std::fill(voice_.memory->staging.begin(), voice_.memory->staging.end(), silenceByte);
    {
        std::lock_guard lock(engine_->Lock());
        if (voice_.lost) {
            voice_.lost = false;
            voice_.memory->bytes.swap(silence);
        }
    }
    return DS_OK; // the old memory is freed here, outside the lock
}

HRESULT SoundBuffer::SetNotificationPositions(DWORD count, LPCDSBPOSITIONNOTIFY positions) {
    if (const HRESULT failure = InjectedFailure(hooks::SoundCall::SetNotificationPositions);
        FAILED(failure)) {
        return failure;
    }
    const auto size = static_cast<DWORD>(voice_.memory->bytes.size());
    if (const HRESULT result = ValidateNotifications(positions, count, size); FAILED(result)) {
        return result;
    }
    std::vector<Notification> notifications = ResolveNotifications(positions, count);
    engine_->ReserveNotifications(notifications.size());
    std::lock_guard lock(engine_->Lock());
    if (voice_.playing) {
        return DSERR_INVALIDCALL;
    }
    engine_->ReserveNotificationsLocked(notifications.size());
    voice_.notifications.swap(notifications);
    return DS_OK; // the old notifications are released here, outside the lock
}

} // namespace winapi::dsound
