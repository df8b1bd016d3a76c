// Writing: the header on open, the sample bytes through the direct buffer, the sizes on close.

#include "sound/wave_file.h"

#include "errors/error_trace.h"

#include <algorithm>
#include <cstring>

HRESULT WaveFile::OpenForWriting(LPCSTR name, const WAVEFORMATEX* format) {
    m_file =
        mmioOpenA(const_cast<LPSTR>(name), nullptr, MMIO_ALLOCBUF | MMIO_READWRITE | MMIO_CREATE);
    if (m_file == nullptr) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioOpen", FALSE);
    }
    HRESULT hr = WriteMMIO(format);
    if (FAILED(hr)) {
        mmioClose(m_file, 0);
        m_file = nullptr;
        return TraceError(__FILE__, __LINE__, hr, "WriteMMIO", FALSE);
    }
    hr = ResetFile();
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "ResetFile", FALSE);
    }
    return S_OK;
}

HRESULT WaveFile::WriteMMIO(const WAVEFORMATEX* format) {
    m_riffChunk.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    m_riffChunk.cksize = 0;
    if (mmioCreateChunk(m_file, &m_riffChunk, MMIO_CREATERIFF) != MMSYSERR_NOERROR) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioCreateChunk", FALSE);
    }

    // PCM keeps the 16-byte record of the format's own definition; other formats need the count
    // and the extra bytes. Leaving the chunk corrects its declared size to what was written.
    m_chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    m_chunk.cksize = sizeof(PCMWAVEFORMAT);
    if (mmioCreateChunk(m_file, &m_chunk, 0) != MMSYSERR_NOERROR) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioCreateChunk", FALSE);
    }
    LONG formatSize = format->wFormatTag == WAVE_FORMAT_PCM
                          ? static_cast<LONG>(sizeof(PCMWAVEFORMAT))
                          : static_cast<LONG>(sizeof(WAVEFORMATEX) + format->cbSize);
    if (mmioWrite(m_file, reinterpret_cast<const char*>(format), formatSize) != formatSize) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioWrite", FALSE);
    }
    if (mmioAscend(m_file, &m_chunk, 0) != MMSYSERR_NOERROR) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioAscend", FALSE);
    }

    // The sample count is unknown until the file is closed.
    MMCKINFO factChunk{};
    factChunk.ckid = mmioFOURCC('f', 'a', 'c', 't');
    factChunk.cksize = 0;
    if (mmioCreateChunk(m_file, &factChunk, 0) != MMSYSERR_NOERROR) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioCreateChunk", FALSE);
    }
    DWORD sampleCount = 0xFFFFFFFF;
    if (mmioWrite(m_file, reinterpret_cast<const char*>(&sampleCount), sizeof sampleCount) !=
        static_cast<LONG>(sizeof sampleCount)) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioWrite", FALSE);
    }
    if (mmioAscend(m_file, &factChunk, 0) != MMSYSERR_NOERROR) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioAscend", FALSE);
    }
    return S_OK;
}

HRESULT WaveFile::ResetWriting() {
    m_chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    m_chunk.cksize = 0;
    if (mmioCreateChunk(m_file, &m_chunk, 0) != MMSYSERR_NOERROR) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioCreateChunk", FALSE);
    }
    if (mmioGetInfo(m_file, &m_writeInfo, 0) != MMSYSERR_NOERROR) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioGetInfo", FALSE);
    }
    return S_OK;
}

HRESULT WaveFile::Write(UINT count, const BYTE* source, UINT* written) {
    if (m_fromMemory) {
        return E_NOTIMPL;
    }
    if (m_file == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    // A file opened for reading has no direct buffer to write into.
    if (m_mode == WAVEFILE_READ) {
        return E_NOTIMPL;
    }
    if (written == nullptr || source == nullptr) {
        return E_INVALIDARG;
    }
    *written = 0;
    while (*written < count) {
        if (m_writeInfo.pchNext == m_writeInfo.pchEndWrite) {
            m_writeInfo.dwFlags |= MMIO_DIRTY;
            if (mmioAdvance(m_file, &m_writeInfo, MMIO_WRITE) != MMSYSERR_NOERROR) {
                return TraceError(__FILE__, __LINE__, E_FAIL, "mmioAdvance", FALSE);
            }
        }
        UINT run = std::min<UINT>(count - *written,
                                  static_cast<UINT>(m_writeInfo.pchEndWrite - m_writeInfo.pchNext));
        std::memcpy(m_writeInfo.pchNext, source + *written, run);
        m_writeInfo.pchNext += run;
        *written += run;
    }
    return S_OK;
}

// Flushes the direct buffer, fixes the "data" and "RIFF" sizes and then, now that the data is
// complete, replaces the placeholder in the "fact" chunk.
HRESULT WaveFile::CloseWritten() {
    m_writeInfo.dwFlags |= MMIO_DIRTY;
    if (m_file == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    if (mmioSetInfo(m_file, &m_writeInfo, 0) != MMSYSERR_NOERROR) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioSetInfo", FALSE);
    }
    if (mmioAscend(m_file, &m_chunk, 0) != MMSYSERR_NOERROR) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioAscend", FALSE);
    }
    if (mmioAscend(m_file, &m_riffChunk, 0) != MMSYSERR_NOERROR) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioAscend", FALSE);
    }
    mmioSeek(m_file, 0, SEEK_SET);
    if (mmioDescend(m_file, &m_riffChunk, nullptr, 0) != MMSYSERR_NOERROR) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioDescend", FALSE);
    }
    m_chunk.ckid = mmioFOURCC('f', 'a', 'c', 't');
    if (mmioDescend(m_file, &m_chunk, &m_riffChunk, MMIO_FINDCHUNK) == MMSYSERR_NOERROR) {
        DWORD sampleCount = 0;
        mmioWrite(m_file, reinterpret_cast<const char*>(&sampleCount), sizeof sampleCount);
        mmioAscend(m_file, &m_chunk, 0);
    }
    if (mmioAscend(m_file, &m_riffChunk, 0) != MMSYSERR_NOERROR) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioAscend", FALSE);
    }
    // Until here the bytes may only be in the buffer; the close writes them out.
    const MMRESULT closed = mmioClose(m_file, 0);
    m_file = nullptr;
    if (closed != MMSYSERR_NOERROR) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioClose", FALSE);
    }
    return S_OK;
}
