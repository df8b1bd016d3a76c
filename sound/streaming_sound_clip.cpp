#include "sound/streaming_sound_clip.h"

#include "errors/error_trace.h"
#include "sound/wave_file.h"

#include <cstring>

StreamingSoundClip::StreamingSoundClip(LPDIRECTSOUNDBUFFER buffer, DWORD bufferSize,
                                       WaveFile* waveFile, DWORD notifySize, HRESULT* result)
    : SoundClip(&buffer, bufferSize, 1, waveFile, 0, result), m_lastPlayPosition(0),
      m_playProgress(0), m_notifySize(notifySize), m_nextWriteOffset(0), m_fillWithSilence(false) {}

StreamingSoundClip::~StreamingSoundClip() = default;

HRESULT StreamingSoundClip::OnNotification(BOOL repeat) {
    if (m_buffers == nullptr || m_waveFile == nullptr || m_bufferSize == 0) {
        return CO_E_NOTINITIALIZED;
    }
    LPDIRECTSOUNDBUFFER buffer = m_buffers[0];
    BOOL restored = FALSE;
    HRESULT hr = RestoreBuffer(buffer, &restored);
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "RestoreBuffer", FALSE);
    }
    if (restored) {
        hr = FillBufferWithSound(buffer, FALSE);
        if (FAILED(hr)) {
            return TraceError(__FILE__, __LINE__, hr, "FillBufferWithSound", FALSE);
        }
        return S_OK;
    }

    void* segment = nullptr;
    DWORD segmentSize = 0;
    void* wrapped = nullptr;
    DWORD wrappedSize = 0;
    hr = buffer->Lock(m_nextWriteOffset, m_notifySize, &segment, &segmentSize, &wrapped,
                      &wrappedSize, 0);
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "Lock", FALSE);
    }
    // Whole segments never wrap while the buffer is a whole number of them.
    if (wrapped != nullptr) {
        buffer->Unlock(segment, segmentSize, wrapped, wrappedSize);
        return E_UNEXPECTED;
    }
    hr = FillSegment(static_cast<BYTE*>(segment), segmentSize, repeat);
    buffer->Unlock(segment, segmentSize, nullptr, 0);
    if (FAILED(hr)) {
        return hr;
    }

    DWORD playCursor = 0;
    hr = buffer->GetCurrentPosition(&playCursor, nullptr);
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "GetCurrentPosition", FALSE);
    }
    CountPlayedBytes(playCursor);
    if (m_fillWithSilence && m_playProgress >= m_waveFile->DataSize()) {
        buffer->Stop();
    }
    m_nextWriteOffset = (m_nextWriteOffset + segmentSize) % m_bufferSize;
    return S_OK;
}

HRESULT StreamingSoundClip::FillSegment(BYTE* segment, DWORD size, BOOL repeat) {
    DWORD read = 0;
    if (m_fillWithSilence) {
        std::memset(segment, SilenceByte(), size);
        read = size;
    } else {
        HRESULT hr = m_waveFile->Read(segment, size, &read);
        if (FAILED(hr)) {
            return TraceError(__FILE__, __LINE__, hr, "Read", FALSE);
        }
    }
    bool ranOut = false;
    HRESULT hr = CompleteRegion(segment, size, read, repeat, &ranOut);
    if (ranOut) {
        m_fillWithSilence = true;
    }
    return hr;
}

// The cursor moves forward only; a cursor below the last one has wrapped once.
void StreamingSoundClip::CountPlayedBytes(DWORD playCursor) {
    DWORD played = playCursor >= m_lastPlayPosition
                       ? playCursor - m_lastPlayPosition
                       : m_bufferSize - m_lastPlayPosition + playCursor;
    m_playProgress += played;
    m_lastPlayPosition = playCursor;
}

HRESULT StreamingSoundClip::Reset() {
    if (m_buffers == nullptr || m_buffers[0] == nullptr || m_waveFile == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    LPDIRECTSOUNDBUFFER buffer = m_buffers[0];
    m_lastPlayPosition = 0;
    m_playProgress = 0;
    m_nextWriteOffset = 0;
    m_fillWithSilence = false;

    BOOL restored = FALSE;
    HRESULT hr = RestoreBuffer(buffer, &restored);
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "RestoreBuffer", FALSE);
    }
    if (restored) {
        hr = FillBufferWithSound(buffer, FALSE);
        if (FAILED(hr)) {
            return TraceError(__FILE__, __LINE__, hr, "FillBufferWithSound", FALSE);
        }
    }
    m_waveFile->ResetFile();
    return buffer->SetCurrentPosition(0);
}
