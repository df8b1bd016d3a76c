#include "sound/sound_clip.h"

#include "errors/error_trace.h"
#include "sound/wave_file.h"

#include <cstdlib>
#include <new>

SoundClip::SoundClip(LPDIRECTSOUNDBUFFER* buffers, DWORD bufferSize, DWORD bufferCount,
                     WaveFile* waveFile, DWORD creationFlags, HRESULT* result)
    : m_buffers(nullptr), m_bufferSize(bufferSize), m_waveFile(waveFile), m_bufferCount(0),
      m_creationFlags(creationFlags) {
    if (bufferCount == 0) {
        if (result != nullptr) {
            *result = E_INVALIDARG;
        }
        return;
    }
    m_buffers = new (std::nothrow) LPDIRECTSOUNDBUFFER[bufferCount];
    if (m_buffers == nullptr) {
        // The buffers were handed over; without an array to keep them in they are let go.
        for (DWORD i = 0; buffers != nullptr && i < bufferCount; ++i) {
            if (buffers[i] != nullptr) {
                buffers[i]->Release();
            }
        }
        if (result != nullptr) {
            *result = E_OUTOFMEMORY;
        }
        return;
    }
    for (DWORD i = 0; i < bufferCount; ++i) {
        m_buffers[i] = buffers != nullptr ? buffers[i] : nullptr;
    }
    m_bufferCount = bufferCount;
    // Duplicates share buffer 0's memory; separately made buffers get the sound when refilled.
    FillBufferWithSound(m_buffers[0], FALSE);
}

SoundClip::~SoundClip() {
    for (DWORD i = 0; i < m_bufferCount; ++i) {
        if (m_buffers[i] != nullptr) {
            m_buffers[i]->Release();
            m_buffers[i] = nullptr;
        }
    }
    delete[] m_buffers;
    delete m_waveFile;
}

LPDIRECTSOUNDBUFFER SoundClip::BufferAt(DWORD index) const {
    if (m_buffers == nullptr || index >= m_bufferCount) {
        return nullptr;
    }
    return m_buffers[index];
}

HRESULT SoundClip::Get3DBuffer(DWORD index, LPDIRECTSOUND3DBUFFER* buffer3D) {
    if (m_buffers == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    if (index >= m_bufferCount || buffer3D == nullptr || m_buffers[index] == nullptr) {
        return E_INVALIDARG;
    }
    *buffer3D = nullptr;
    return m_buffers[index]->QueryInterface(IID_IDirectSound3DBuffer,
                                            reinterpret_cast<void**>(buffer3D));
}

BYTE SoundClip::SilenceByte() const {
    const WAVEFORMATEX* format = m_waveFile != nullptr ? m_waveFile->m_pwfx : nullptr;
    // Samples of 8 bits are unsigned around 128; wider ones are signed around 0.
    return format != nullptr && format->wBitsPerSample == 8 ? 0x80 : 0x00;
}

HRESULT SoundClip::RestoreBuffer(LPDIRECTSOUNDBUFFER buffer, BOOL* restored) {
    if (buffer == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    if (restored != nullptr) {
        *restored = FALSE;
    }
    DWORD status = 0;
    HRESULT hr = buffer->GetStatus(&status);
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "GetStatus", FALSE);
    }
    if ((status & DSBSTATUS_BUFFERLOST) == 0) {
        return S_FALSE;
    }
    // The platform refuses the restore while another program holds the device; wait for it.
    do {
        if (buffer->Restore() == DSERR_BUFFERLOST) {
            Sleep(10);
        }
    } while (buffer->Restore() == DSERR_BUFFERLOST);
    if (restored != nullptr) {
        *restored = TRUE;
    }
    return S_OK;
}

LPDIRECTSOUNDBUFFER SoundClip::GetFreeBuffer() {
    if (m_buffers == nullptr) {
        return nullptr;
    }
    for (DWORD i = 0; i < m_bufferCount; ++i) {
        if (m_buffers[i] == nullptr) {
            continue;
        }
        DWORD status = 0;
        if (FAILED(m_buffers[i]->GetStatus(&status))) {
            status = 0;
        }
        if ((status & DSBSTATUS_PLAYING) == 0) {
            return m_buffers[i];
        }
    }
    return m_buffers[static_cast<DWORD>(std::rand()) % m_bufferCount];
}

HRESULT SoundClip::PrepareFreeBuffer(LPDIRECTSOUNDBUFFER* buffer) {
    if (m_buffers == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    *buffer = GetFreeBuffer();
    if (*buffer == nullptr) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "GetFreeBuffer", FALSE);
    }
    BOOL restored = FALSE;
    HRESULT hr = RestoreBuffer(*buffer, &restored);
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "RestoreBuffer", FALSE);
    }
    if (restored) {
        hr = FillBufferWithSound(*buffer, FALSE);
        if (FAILED(hr)) {
            return TraceError(__FILE__, __LINE__, hr, "FillBufferWithSound", FALSE);
        }
    }
    return S_OK;
}

HRESULT SoundClip::Play(DWORD priority, DWORD flags, LONG volume, LONG frequency, LONG pan) {
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    HRESULT hr = PrepareFreeBuffer(&buffer);
    if (FAILED(hr)) {
        return hr;
    }
    if ((m_creationFlags & DSBCAPS_CTRLVOLUME) != 0) {
        buffer->SetVolume(volume);
    }
    if (frequency != -1 && (m_creationFlags & DSBCAPS_CTRLFREQUENCY) != 0) {
        buffer->SetFrequency(static_cast<DWORD>(frequency));
    }
    if ((m_creationFlags & DSBCAPS_CTRLPAN) != 0) {
        buffer->SetPan(pan);
    }
    return buffer->Play(0, priority, flags);
}

HRESULT SoundClip::PlayWith3D(LPDS3DBUFFER parameters, DWORD priority, DWORD flags,
                              LONG frequencyOffset) {
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    HRESULT hr = PrepareFreeBuffer(&buffer);
    if (FAILED(hr)) {
        return hr;
    }
    if ((m_creationFlags & DSBCAPS_CTRLFREQUENCY) != 0) {
        DWORD frequency = 0;
        buffer->GetFrequency(&frequency);
        buffer->SetFrequency(frequency + static_cast<DWORD>(frequencyOffset));
    }
    LPDIRECTSOUND3DBUFFER buffer3D = nullptr;
    hr = buffer->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(&buffer3D));
    if (SUCCEEDED(hr)) {
        hr = buffer3D->SetAllParameters(parameters, DS3D_IMMEDIATE);
        if (SUCCEEDED(hr)) {
            hr = buffer->Play(0, priority, flags);
        }
        buffer3D->Release();
    }
    return hr;
}

HRESULT SoundClip::Stop() {
    if (m_buffers == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    HRESULT combined = S_OK;
    for (DWORD i = 0; i < m_bufferCount; ++i) {
        if (m_buffers[i] != nullptr) {
            combined |= m_buffers[i]->Stop();
        }
    }
    return combined;
}

HRESULT SoundClip::Reset() {
    if (m_buffers == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    HRESULT combined = S_OK;
    for (DWORD i = 0; i < m_bufferCount; ++i) {
        if (m_buffers[i] != nullptr) {
            combined |= m_buffers[i]->SetCurrentPosition(0);
        }
    }
    return combined;
}

BOOL SoundClip::IsPlaying() {
    if (m_buffers == nullptr) {
        return FALSE;
    }
    for (DWORD i = 0; i < m_bufferCount; ++i) {
        DWORD status = 0;
        if (m_buffers[i] != nullptr && SUCCEEDED(m_buffers[i]->GetStatus(&status)) &&
            (status & DSBSTATUS_PLAYING) != 0) {
            return TRUE;
        }
    }
    return FALSE;
}
