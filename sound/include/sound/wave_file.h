#pragma once
// WaveFile reads RIFF WAVE sound from a file, from a program resource of type "WAVE" (or "WAV") of
// the same name, or from a caller's memory block, and writes new RIFF WAVE files. File access goes
// through the multimedia file I/O: its direct buffer carries small reads, large ones bypass it.

#include <windows.h>

#include <mmsystem.h>

// Open modes: WAVEFILE_READ reads; any other mode creates the file and writes it.
#define WAVEFILE_READ 1
#define WAVEFILE_WRITE 2

class WaveFile {
public:
    WaveFile();
    ~WaveFile();
    WaveFile(const WaveFile&) = delete;
    WaveFile& operator=(const WaveFile&) = delete;

    // Reading opens the named file, or failing that the resource of that name; the format is then
    // ignored. Writing creates or truncates the file and writes the header for that format.
    HRESULT Open(LPCSTR fileName, const WAVEFORMATEX* format, DWORD mode);
    // Reads sample bytes from the caller's block, which must outlive this object; format becomes
    // m_pwfx without being copied. Only WAVEFILE_READ is supported.
    HRESULT OpenMemory(BYTE* data, ULONG size, WAVEFORMATEX* format, DWORD mode);
    HRESULT Close();

    // Rewinds reading to the first sample byte; when writing, starts the "data" chunk.
    HRESULT ResetFile();
    // Copies up to `wanted` sample bytes; at the end of the data it delivers 0 bytes with S_OK.
    HRESULT Read(BYTE* destination, DWORD wanted, DWORD* read);
    HRESULT Write(UINT count, const BYTE* source, UINT* written);

    // Size of the "data" chunk of a file or resource opened for reading; 0 otherwise.
    DWORD DataSize() const { return m_dataSize; }

    // The sound's format; null until a successful open.
    WAVEFORMATEX* m_pwfx;

private:
    HRESULT OpenForReading(LPCSTR name);
    HRESULT OpenResource(LPCSTR name);
    HRESULT OpenForWriting(LPCSTR name, const WAVEFORMATEX* format);
    HRESULT ReadMMIO();
    HRESULT ReadExtendedFormat(const PCMWAVEFORMAT& pcm, DWORD chunkSize);
    HRESULT WriteMMIO(const WAVEFORMATEX* format);
    HRESULT ResetWriting();
    HRESULT ReadFromMemory(BYTE* destination, DWORD wanted, DWORD* read);
    HRESULT ReadFromFile(BYTE* destination, DWORD wanted, DWORD* read);
    HRESULT CloseWritten();
    void ForgetFormat();
    void CloseForGood();

    HMMIO m_file;
    MMCKINFO m_chunk;     // "data" while reading or writing data; its size counts down when reading
    MMCKINFO m_riffChunk; // the outer "RIFF" chunk
    DWORD m_dataSize;
    MMIOINFO m_writeInfo; // the direct buffer while writing
    DWORD m_mode;
    bool m_fromMemory;
    BYTE* m_memData;
    BYTE* m_memCursor;
    DWORD m_memSize;
    BYTE* m_resourceCopy;
};
