// Filling buffers from the clip's wave file.

#include "sound/sound_clip.h"

#include "errors/error_trace.h"
#include "sound/wave_file.h"

#include <cstring>

HRESULT SoundClip::FillBufferWithSound(LPDIRECTSOUNDBUFFER buffer, BOOL repeat) {
    if (buffer == nullptr || m_waveFile == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    HRESULT hr = RestoreBuffer(buffer, nullptr);
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "RestoreBuffer", FALSE);
    }
    void* region = nullptr;
    DWORD regionSize = 0;
    hr = buffer->Lock(0, m_bufferSize, &region, &regionSize, nullptr, nullptr, 0);
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "Lock", FALSE);
    }
    BYTE* bytes = static_cast<BYTE*>(region);
    m_waveFile->ResetFile();
    DWORD read = 0;
    hr = m_waveFile->Read(bytes, regionSize, &read);
    if (FAILED(hr)) {
        hr = TraceError(__FILE__, __LINE__, hr, "Read", FALSE);
    } else {
        bool ranOut = false;
        hr = CompleteRegion(bytes, regionSize, read, repeat, &ranOut);
    }
    // Unlocked on failure too: a buffer left locked could never be refilled.
    buffer->Unlock(region, regionSize, nullptr, 0);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT SoundClip::CompleteRegion(BYTE* region, DWORD size, DWORD filled, BOOL repeat,
                                  bool* ranOut) {
    while (repeat && filled < size) {
        HRESULT hr = m_waveFile->ResetFile();
        if (FAILED(hr)) {
            return TraceError(__FILE__, __LINE__, hr, "ResetFile", FALSE);
        }
        DWORD read = 0;
        hr = m_waveFile->Read(region + filled, size - filled, &read);
        if (FAILED(hr)) {
            return TraceError(__FILE__, __LINE__, hr, "Read", FALSE);
        }
        if (read == 0) {
            break; // nothing from the wave's start: an empty wave cannot loop
        }
        filled += read;
    }
    *ranOut = filled < size;
    if (*ranOut) {
        std::memset(region + filled, SilenceByte(), size - filled);
    }
    return S_OK;
}
