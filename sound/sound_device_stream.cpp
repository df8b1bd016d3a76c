// The streaming clip factory of SoundDevice.

#include "sound/sound_device.h"

#include "errors/error_trace.h"
#include "sound/streaming_sound_clip.h"
#include "sound/wave_file.h"

#include <cstdint>
#include <memory>
#include <new>

namespace {

// Asks the buffer to signal the event as playback passes the last byte of each segment.
HRESULT NotifyAtSegmentEnds(LPDIRECTSOUNDBUFFER buffer, DWORD count, DWORD size, HANDLE event) {
    LPDIRECTSOUNDNOTIFY notify = nullptr;
    HRESULT hr = buffer->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify));
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "QueryInterface", FALSE);
    }
    std::unique_ptr<DSBPOSITIONNOTIFY[]> positions(new (std::nothrow) DSBPOSITIONNOTIFY[count]);
    if (positions == nullptr && count > 0) {
        notify->Release();
        return E_OUTOFMEMORY;
    }
    for (DWORD i = 0; i < count; ++i) {
        positions[i].dwOffset = size * i + size - 1;
        positions[i].hEventNotify = event;
    }
    hr = notify->SetNotificationPositions(count, positions.get());
    notify->Release();
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "SetNotificationPositions", FALSE);
    }
    return S_OK;
}

} // namespace

HRESULT SoundDevice::CreateStream(StreamingSoundClip** clip, LPCSTR waveName, DWORD creationFlags,
                                  GUID algorithm3D, DWORD notifyCount, DWORD notifySize,
                                  HANDLE notifyEvent) {
    if (m_directSound == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    if (waveName == nullptr || clip == nullptr || notifyEvent == nullptr) {
        return E_INVALIDARG;
    }
    // A buffer size that does not fit in 32 bits would wrap to a buffer shorter than its segments.
    std::uint64_t bufferSize = std::uint64_t{notifyCount} * notifySize;
    if (bufferSize > 0xFFFFFFFFu) {
        return E_INVALIDARG;
    }
    std::unique_ptr<WaveFile> waveFile(new (std::nothrow) WaveFile());
    if (waveFile == nullptr) {
        return E_OUTOFMEMORY;
    }
    // A wave file that did not open has no format, which the buffer creation rejects.
    waveFile->Open(waveName, nullptr, WAVEFILE_READ);

    DSBUFFERDESC description{};
    description.dwSize = DSBUFFERDESC_PLATFORM_SIZE;
    description.dwFlags = creationFlags | DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_GETCURRENTPOSITION2;
    description.dwBufferBytes = static_cast<DWORD>(bufferSize);
    description.lpwfxFormat = waveFile->m_pwfx;
    description.guid3DAlgorithm = algorithm3D;
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    HRESULT hr = m_directSound->CreateSoundBuffer(&description, &buffer, nullptr);
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "CreateSoundBuffer", FALSE);
    }
    hr = NotifyAtSegmentEnds(buffer, notifyCount, notifySize, notifyEvent);
    if (FAILED(hr)) {
        buffer->Release();
        return hr;
    }

    HRESULT constructed = S_OK;
    auto* made = new (std::nothrow) StreamingSoundClip(buffer, description.dwBufferBytes,
                                                       waveFile.get(), notifySize, &constructed);
    if (made == nullptr) {
        buffer->Release();
        return E_OUTOFMEMORY;
    }
    waveFile.release(); // the clip owns the wave file and the buffer now
    if (FAILED(constructed)) {
        delete made;
        return constructed;
    }
    *clip = made;
    return S_OK;
}
