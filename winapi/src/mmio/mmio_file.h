#pragma once
// One open multimedia file: the I/O buffer of MMIOINFO over an I/O procedure, or a memory file
// whose buffer is the whole file.

#include <mmsystem.h>

#include <cstdint>
#include <memory>

namespace winapi::mmio {

// File offsets of the multimedia file I/O are 32-bit signed.
inline constexpr std::int64_t kLargestOffset = INT32_MAX;

class MmioFile {
public:
    // Opens as mmioOpenA does (without MMIO_EXIST, MMIO_DELETE); on failure *error is the reason.
    static std::unique_ptr<MmioFile> Open(LPSTR name, const MMIOINFO* settings, DWORD flags,
                                          UINT* error);
    ~MmioFile();
    MmioFile(const MmioFile&) = delete;
    MmioFile& operator=(const MmioFile&) = delete;

    MMRESULT Close();
    LONG Read(char* destination, LONG count);
    LONG Write(const char* source, LONG count);
    LONG Seek(LONG offset, int origin);
    // Seeks from the start to the end of a chunk being read, which may lie past the end of the
    // file. A disk file goes there; a memory file cannot go past its buffer and stops at its end.
    // Either way nothing more can be read. Returns the new position, or -1.
    LONG SeekToChunkEnd(LONG offset);
    void GetInfo(MMIOINFO* info) const;
    MMRESULT SetInfo(const MMIOINFO& info);
    MMRESULT Advance(MMIOINFO* info, UINT direction);
    MMRESULT Flush(UINT flags);
    MMRESULT SetBuffer(char* buffer, LONG size);

private:
    MmioFile() = default;

    bool Readable() const;
    bool Writable() const;
    bool Buffered() const { return info_.pchBuffer != nullptr; }
    bool IsMemory() const { return memory_; }
    std::int64_t Position() const;
    // Length of the valid bytes in the buffer (read from the file or written since).
    LONG Valid() const { return static_cast<LONG>(info_.pchEndRead - info_.pchBuffer); }

    LRESULT Call(UINT message, LPARAM first, LPARAM second);
    bool SeekDisk(std::int64_t offset);
    MMRESULT FlushBuffer();
    MMRESULT FillBuffer(std::int64_t offset);
    LONG ReadPastBuffer(char* destination, LONG count);
    void EmptyBufferAt(std::int64_t offset);
    MMRESULT AdvanceBuffer(UINT direction);
    MMRESULT GrowMemory(LONG least);
    MMRESULT UseBuffer(char* buffer, LONG size);

    MMIOINFO info_{};
    std::unique_ptr<char[]> ownedBuffer_;
    bool memory_ = false;
    bool growable_ = false;
};

} // namespace winapi::mmio
