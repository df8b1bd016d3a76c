#include "sound/wave_file.h"

#include "errors/error_trace.h"

#include <cstring>
#include <new>

namespace {

constexpr LONG readBufferSize = 64 * 1024;

} // namespace

WaveFile::WaveFile()
    : m_pwfx(nullptr), m_file(nullptr), m_chunk{}, m_riffChunk{}, m_dataSize(0), m_writeInfo{},
      m_mode(WAVEFILE_READ), m_fromMemory(false), m_memData(nullptr), m_memCursor(nullptr),
      m_memSize(0), m_resourceCopy(nullptr) {}

WaveFile::~WaveFile() {
    CloseForGood();
    ForgetFormat();
}

// A written file whose header could not be finished is still closed, so no handle leaks.
void WaveFile::CloseForGood() {
    if (FAILED(Close()) && m_file != nullptr) {
        mmioClose(m_file, 0);
        m_file = nullptr;
    }
}

void WaveFile::ForgetFormat() {
    if (!m_fromMemory) {
        delete[] reinterpret_cast<BYTE*>(m_pwfx);
    }
    m_pwfx = nullptr;
}

HRESULT WaveFile::Open(LPCSTR fileName, const WAVEFORMATEX* format, DWORD mode) {
    // What was open before is finished; its data size no longer describes anything.
    CloseForGood();
    ForgetFormat();
    m_dataSize = 0;
    m_mode = mode;
    m_fromMemory = false;
    if (fileName == nullptr) {
        return E_INVALIDARG;
    }
    if (mode == WAVEFILE_READ) {
        return OpenForReading(fileName);
    }
    if (format == nullptr) {
        return E_INVALIDARG;
    }
    return OpenForWriting(fileName, format);
}

HRESULT WaveFile::OpenForReading(LPCSTR name) {
    // A larger buffer than the multimedia layer's default: a sound read in big pieces then costs
    // few trips to the disk.
    MMIOINFO buffered{};
    buffered.cchBuffer = readBufferSize;
    m_file = mmioOpenA(const_cast<LPSTR>(name), &buffered, MMIO_ALLOCBUF | MMIO_READ);
    if (m_file == nullptr) {
        HRESULT hr = OpenResource(name);
        if (FAILED(hr)) {
            return hr;
        }
    }
    HRESULT hr = ReadMMIO();
    if (FAILED(hr)) {
        mmioClose(m_file, 0);
        m_file = nullptr;
        return TraceError(__FILE__, __LINE__, hr, "ReadMMIO", FALSE);
    }
    hr = ResetFile();
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "ResetFile", FALSE);
    }
    m_dataSize = m_chunk.cksize;
    return S_OK;
}

// Opens a private copy of the resource's bytes as a memory file, so that it reads like a file.
HRESULT WaveFile::OpenResource(LPCSTR name) {
    HRSRC info = FindResourceA(nullptr, name, "WAVE");
    if (info == nullptr) {
        info = FindResourceA(nullptr, name, "WAV");
        if (info == nullptr) {
            return TraceError(__FILE__, __LINE__, E_FAIL, "FindResource", FALSE);
        }
    }
    HGLOBAL handle = LoadResource(nullptr, info);
    if (handle == nullptr) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "LoadResource", FALSE);
    }
    DWORD size = SizeofResource(nullptr, info);
    if (size == 0) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "SizeofResource", FALSE);
    }
    const void* bytes = LockResource(handle);
    if (bytes == nullptr) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "LockResource", FALSE);
    }
    delete[] m_resourceCopy;
    m_resourceCopy = new (std::nothrow) BYTE[size];
    if (m_resourceCopy == nullptr) {
        return TraceError(__FILE__, __LINE__, E_OUTOFMEMORY, "new", FALSE);
    }
    std::memcpy(m_resourceCopy, bytes, size);

    MMIOINFO memoryFile{};
    memoryFile.fccIOProc = FOURCC_MEM;
    memoryFile.cchBuffer = static_cast<LONG>(size);
    memoryFile.pchBuffer = reinterpret_cast<HPSTR>(m_resourceCopy);
    m_file = mmioOpenA(nullptr, &memoryFile, MMIO_ALLOCBUF | MMIO_READ);
    if (m_file == nullptr) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioOpen", FALSE);
    }
    return S_OK;
}

HRESULT WaveFile::OpenMemory(BYTE* data, ULONG size, WAVEFORMATEX* format, DWORD mode) {
    CloseForGood();
    ForgetFormat();
    m_dataSize = 0;
    m_pwfx = format;
    m_fromMemory = true;
    m_memData = data;
    m_memCursor = data;
    m_memSize = size;
    return mode == WAVEFILE_READ ? S_OK : E_NOTIMPL;
}

HRESULT WaveFile::Close() {
    if (m_mode != WAVEFILE_READ) {
        return CloseWritten();
    }
    if (m_file != nullptr) {
        mmioClose(m_file, 0);
        m_file = nullptr;
    }
    delete[] m_resourceCopy;
    m_resourceCopy = nullptr;
    return S_OK;
}

HRESULT WaveFile::ResetFile() {
    if (m_fromMemory) {
        m_memCursor = m_memData;
        return S_OK;
    }
    if (m_file == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    if (m_mode != WAVEFILE_READ) {
        return ResetWriting();
    }
    // The sub-chunks start right after the form type.
    if (mmioSeek(m_file, static_cast<LONG>(m_riffChunk.dwDataOffset + sizeof(FOURCC)), SEEK_SET) ==
        -1) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioSeek", FALSE);
    }
    m_chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(m_file, &m_chunk, &m_riffChunk, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) {
        return TraceError(__FILE__, __LINE__, E_FAIL, "mmioDescend", FALSE);
    }
    return S_OK;
}

HRESULT WaveFile::Read(BYTE* destination, DWORD wanted, DWORD* read) {
    return m_fromMemory ? ReadFromMemory(destination, wanted, read)
                        : ReadFromFile(destination, wanted, read);
}
