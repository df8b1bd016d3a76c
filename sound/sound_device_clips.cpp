// The clip factories of SoundDevice.

#include "sound/sound_device.h"

#include "errors/error_trace.h"
#include "sound/sound_clip.h"
#include "sound/wave_file.h"

#include <memory>
#include <new>

namespace {

DSBUFFERDESC Describe(DWORD flags, DWORD bufferSize, LPWAVEFORMATEX format, const GUID& algorithm) {
    DSBUFFERDESC description{};
    description.dwSize = DSBUFFERDESC_PLATFORM_SIZE;
    description.dwFlags = flags;
    description.dwBufferBytes = bufferSize;
    description.dwReserved = 0;
    description.lpwfxFormat = format;
    description.guid3DAlgorithm = algorithm;
    return description;
}

void ReleaseAll(LPDIRECTSOUNDBUFFER* buffers, DWORD count) {
    for (DWORD i = 0; i < count; ++i) {
        if (buffers[i] != nullptr) {
            buffers[i]->Release();
            buffers[i] = nullptr;
        }
    }
}

} // namespace

HRESULT SoundDevice::Create(SoundClip** clip, LPCSTR waveName, DWORD creationFlags,
                            GUID algorithm3D, DWORD bufferCount) {
    if (m_directSound == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    if (waveName == nullptr || clip == nullptr || bufferCount < 1) {
        return E_INVALIDARG;
    }
    WaveFile* waveFile = new (std::nothrow) WaveFile();
    if (waveFile == nullptr) {
        return E_OUTOFMEMORY;
    }
    // The wave file traces its own failure; an empty or unreadable one has no data.
    waveFile->Open(waveName, nullptr, WAVEFILE_READ);
    if (waveFile->DataSize() == 0) {
        delete waveFile;
        return E_FAIL;
    }
    HRESULT firstResult = S_OK;
    HRESULT hr = MakeClip(clip, waveFile, waveFile->DataSize(), waveFile->m_pwfx, creationFlags,
                          algorithm3D, bufferCount, &firstResult);
    if (FAILED(hr)) {
        return hr;
    }
    return firstResult == DS_NO_VIRTUALIZATION ? DS_NO_VIRTUALIZATION : S_OK;
}

HRESULT SoundDevice::CreateFromData(SoundClip** clip, BYTE* data, DWORD dataSize,
                                    LPWAVEFORMATEX format, DWORD creationFlags, GUID algorithm3D,
                                    DWORD bufferCount) {
    if (m_directSound == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    if (data == nullptr || clip == nullptr || bufferCount < 1) {
        return E_INVALIDARG;
    }
    WaveFile* waveFile = new (std::nothrow) WaveFile();
    if (waveFile == nullptr) {
        return E_OUTOFMEMORY;
    }
    waveFile->OpenMemory(data, dataSize, format, WAVEFILE_READ);
    HRESULT firstResult = S_OK;
    HRESULT hr = MakeClip(clip, waveFile, dataSize, format, creationFlags, algorithm3D, bufferCount,
                          &firstResult);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT SoundDevice::MakeClip(SoundClip** clip, WaveFile* waveFile, DWORD bufferSize,
                              LPWAVEFORMATEX format, DWORD creationFlags, const GUID& algorithm3D,
                              DWORD bufferCount, HRESULT* firstResult) {
    std::unique_ptr<WaveFile> ownedWave(waveFile);
    std::unique_ptr<LPDIRECTSOUNDBUFFER[]> buffers(new (std::nothrow)
                                                       LPDIRECTSOUNDBUFFER[bufferCount]());
    if (buffers == nullptr) {
        return E_OUTOFMEMORY;
    }
    DSBUFFERDESC description = Describe(creationFlags, bufferSize, format, algorithm3D);
    HRESULT hr = MakeBuffers(description, buffers.get(), bufferCount, firstResult);
    if (FAILED(hr)) {
        ReleaseAll(buffers.get(), bufferCount);
        return hr;
    }
    HRESULT constructed = S_OK;
    auto* made = new (std::nothrow) SoundClip(buffers.get(), bufferSize, bufferCount,
                                              ownedWave.get(), creationFlags, &constructed);
    if (made == nullptr) {
        ReleaseAll(buffers.get(), bufferCount);
        return E_OUTOFMEMORY;
    }
    ownedWave.release(); // the clip owns the wave file and the buffers now
    if (FAILED(constructed)) {
        delete made;
        return constructed;
    }
    *clip = made;
    return S_OK;
}

HRESULT SoundDevice::MakeBuffers(const DSBUFFERDESC& description, LPDIRECTSOUNDBUFFER* buffers,
                                 DWORD bufferCount, HRESULT* firstResult) {
    HRESULT hr = m_directSound->CreateSoundBuffer(&description, &buffers[0], nullptr);
    *firstResult = hr;
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "CreateSoundBuffer", FALSE);
    }
    // Buffers with effects cannot be duplicated, so each of them is made on its own.
    bool withEffects = (description.dwFlags & DSBCAPS_CTRLFX) != 0;
    for (DWORD i = 1; i < bufferCount; ++i) {
        if (withEffects) {
            hr = m_directSound->CreateSoundBuffer(&description, &buffers[i], nullptr);
            if (FAILED(hr)) {
                return TraceError(__FILE__, __LINE__, hr, "CreateSoundBuffer", FALSE);
            }
        } else {
            hr = m_directSound->DuplicateSoundBuffer(buffers[0], &buffers[i]);
            if (FAILED(hr)) {
                return TraceError(__FILE__, __LINE__, hr, "DuplicateSoundBuffer", FALSE);
            }
        }
    }
    return S_OK;
}
