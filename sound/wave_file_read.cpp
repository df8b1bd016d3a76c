// Reading: the RIFF header and format record, and the sample bytes of a file or a memory block.

#include "sound/wave_file.h"

#include "errors/error_trace.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr DWORD pcmFormatSize = sizeof(PCMWAVEFORMAT);
constexpr DWORD extendedHeaderSize = sizeof(WAVEFORMATEX);

WAVEFORMATEX* NewFormatRecord(DWORD extraSize) {
    return reinterpret_cast<WAVEFORMATEX*>(new (std::nothrow) BYTE[extendedHeaderSize + extraSize]);
}

} // namespace

HRESULT WaveFile::ReadMMIO() {
    m_pwfx = nullptr;
    if (mmioDescend(m_file, &m_riffChunk, nullptr, 0) != MMSYSERR_NOERROR) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioDescend", FALSE);
    }
    if (m_riffChunk.ckid != FOURCC_RIFF || m_riffChunk.fccType != mmioFOURCC('W', 'A', 'V', 'E')) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioFOURCC", FALSE);
    }

    MMCKINFO formatChunk{};
    formatChunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(m_file, &formatChunk, &m_riffChunk, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioDescend", FALSE);
    }
    if (formatChunk.cksize < pcmFormatSize) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "sizeof(PCMWAVEFORMAT)", FALSE);
    }
    PCMWAVEFORMAT pcm;
    if (mmioRead(m_file, reinterpret_cast<HPSTR>(&pcm), pcmFormatSize) != pcmFormatSize) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioRead", FALSE);
    }

    if (pcm.wf.wFormatTag == WAVE_FORMAT_PCM) {
        m_pwfx = NewFormatRecord(0);
        if (m_pwfx == nullptr) {
            return TraceError(__FILE__, __LINE__, E_FAIL, "m_pwfx", FALSE);
        }
        std::memcpy(m_pwfx, &pcm, pcmFormatSize);
        m_pwfx->cbSize = 0;
    } else {
        HRESULT hr = ReadExtendedFormat(pcm, formatChunk.cksize);
        if (FAILED(hr)) {
            return hr;
        }
    }

    if (mmioAscend(m_file, &formatChunk, 0) != MMSYSERR_NOERROR) {
        ForgetFormat();
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioAscend", FALSE);
    }
    return S_OK;
}

// A format other than PCM carries an extra-size count and that many bytes after its 16 PCM bytes.
// Both are taken only from inside the "fmt " chunk: a chunk of 16 or 17 bytes has no count (0),
// and a count running past the chunk would take bytes of the chunks behind it as format bytes.
HRESULT WaveFile::ReadExtendedFormat(const PCMWAVEFORMAT& pcm, DWORD chunkSize) {
    WORD extraSize = 0;
    if (chunkSize >= extendedHeaderSize && mmioRead(m_file, reinterpret_cast<HPSTR>(&extraSize),
                                                    sizeof extraSize) != sizeof extraSize) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioRead", FALSE);
    }
    m_pwfx = NewFormatRecord(extraSize);
    if (m_pwfx == nullptr) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "new", FALSE);
    }
    std::memcpy(m_pwfx, &pcm, pcmFormatSize);
    m_pwfx->cbSize = extraSize;
    bool extraFitsChunk = extraSize == 0 || chunkSize - extendedHeaderSize >= extraSize;
    if (!extraFitsChunk || mmioRead(m_file, reinterpret_cast<HPSTR>(m_pwfx) + extendedHeaderSize,
                                    extraSize) != extraSize) {
        ForgetFormat();
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioRead", FALSE);
    }
    return S_OK;
}

HRESULT WaveFile::ReadFromMemory(BYTE* destination, DWORD wanted, DWORD* read) {
    if (m_memCursor == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    if (read != nullptr) {
        *read = 0;
    }
    DWORD left = m_memSize - static_cast<DWORD>(m_memCursor - m_memData);
    DWORD count = std::min(wanted, left);
    if (count > 0 && destination == nullptr) {
        return E_INVALIDARG;
    }
    if (count > 0) {
        std::memcpy(destination, m_memCursor, count);
    }
    m_memCursor += count;
    if (read != nullptr) {
        *read = count;
    }
    return S_OK;
}

// Copies straight out of the multimedia layer's own buffer, refilling it as it runs dry, so a
// read of any size costs no call per byte. A read of the buffer's length or more goes through
// mmioRead instead, which reads what the buffer lacks from the disk into the destination: one
// copy where refilling the buffer would make two.
HRESULT WaveFile::ReadFromFile(BYTE* destination, DWORD wanted, DWORD* read) {
    if (m_file == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    if (destination == nullptr || read == nullptr) {
        return E_INVALIDARG;
    }
    *read = 0;
    MMIOINFO info;
    if (mmioGetInfo(m_file, &info, 0) != MMSYSERR_NOERROR) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioGetInfo", FALSE);
    }
    DWORD count = std::min(wanted, m_chunk.cksize);
    m_chunk.cksize -= count;
    if (info.cchBuffer > 0 && count >= static_cast<DWORD>(info.cchBuffer)) {
        if (mmioRead(m_file, reinterpret_cast<HPSTR>(destination), static_cast<LONG>(count)) !=
            static_cast<LONG>(count)) {
            return TraceError(__FILE__, __LINE__, E_FAIL, "mmioRead", FALSE);
        }
        *read = count;
        return S_OK;
    }

    HRESULT failure = S_OK;
    for (DWORD copied = 0; copied < count;) {
        if (info.pchNext == info.pchEndRead) {
            if (mmioAdvance(m_file, &info, MMIO_READ) != MMSYSERR_NOERROR) {
                failure = TraceError(__FILE__, __LINE__, E_FAIL, "mmioAdvance", FALSE);
                break;
            }
            if (info.pchNext == info.pchEndRead) {
                failure = TraceError(__FILE__, __LINE__, E_FAIL, "mmioinfoIn.pchNext", FALSE);
                break;
            }
        }
        DWORD run =
            std::min<DWORD>(count - copied, static_cast<DWORD>(info.pchEndRead - info.pchNext));
        std::memcpy(destination + copied, info.pchNext, run);
        info.pchNext += run;
        copied += run;
    }
    // The buffer state goes back even after a failure, so the handle stays consistent.
    if (mmioSetInfo(m_file, &info, 0) != MMSYSERR_NOERROR && SUCCEEDED(failure)) {
        failure = TraceError(__FILE__, __LINE__, E_FAIL, "mmioSetInfo", FALSE);
    }
    if (FAILED(failure)) {
        return failure;
    }
    *read = count;
    return S_OK;
}
