#include "mmio/mmio_file.h"

#include "mmio/dos_io_procedure.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace winapi::mmio {
namespace {

// Orders pointers by address, also those a caller hands back from elsewhere.
bool Before(const char* a, const char* b) {
    return reinterpret_cast<UINT_PTR>(a) < reinterpret_cast<UINT_PTR>(b);
}

} // namespace

std::unique_ptr<MmioFile> MmioFile::Open(LPSTR name, const MMIOINFO* settings, DWORD flags,
                                         UINT* error) {
    std::unique_ptr<MmioFile> file(new MmioFile);
    MMIOINFO& info = file->info_;
    info.dwFlags = flags & ~MMIO_DIRTY;
    info.hmmio = reinterpret_cast<HMMIO>(file.get());
    if (settings != nullptr) {
        info.fccIOProc = settings->fccIOProc;
        info.pIOProc = settings->pIOProc;
        std::memcpy(info.adwInfo, settings->adwInfo, sizeof info.adwInfo);
    }
    char* const givenBuffer = settings ? settings->pchBuffer : nullptr;
    const LONG givenSize = settings ? settings->cchBuffer : 0;
    if (givenSize < 0) {
        *error = MMSYSERR_INVALPARAM;
        return nullptr;
    }

    if (info.pIOProc == nullptr && info.fccIOProc == FOURCC_MEM) {
        // A memory file: the buffer holds the whole file.
        file->memory_ = true;
        char* buffer = givenBuffer;
        if (buffer == nullptr && givenSize > 0) {
            file->ownedBuffer_.reset(new (std::nothrow) char[givenSize]());
            if (!file->ownedBuffer_) {
                *error = MMIOERR_OUTOFMEMORY;
                return nullptr;
            }
            buffer = file->ownedBuffer_.get();
        }
        // Only a buffer of the file's own can grow, by steps of adwInfo[0] bytes.
        file->growable_ = givenBuffer == nullptr && info.adwInfo[0] > 0;
        info.cchBuffer = buffer ? givenSize : 0;
        info.pchBuffer = buffer;
        info.pchNext = buffer;
        info.pchEndRead = info.pchEndWrite = buffer + info.cchBuffer;
        *error = MMSYSERR_NOERROR;
        return file;
    }

    if (info.pIOProc == nullptr) {
        if (info.fccIOProc != 0 && info.fccIOProc != FOURCC_DOS) {
            *error = MMSYSERR_INVALPARAM; // no installable I/O procedures
            return nullptr;
        }
        info.fccIOProc = FOURCC_DOS;
        info.pIOProc = DosIoProcedure;
    }
    const LRESULT opened = file->Call(MMIOM_OPEN, reinterpret_cast<LPARAM>(name), 0);
    if (opened != MMSYSERR_NOERROR) {
        *error = static_cast<UINT>(opened);
        return nullptr;
    }
    MMRESULT buffered = MMSYSERR_NOERROR;
    if (givenBuffer != nullptr && givenSize > 0)
        buffered = file->UseBuffer(givenBuffer, givenSize);
    else if (flags & MMIO_ALLOCBUF)
        buffered = file->SetBuffer(nullptr, givenSize > 0 ? givenSize : MMIO_DEFAULTBUFFER);
    if (buffered != MMSYSERR_NOERROR) {
        file->Call(MMIOM_CLOSE, 0, 0);
        *error = buffered;
        return nullptr;
    }
    *error = MMSYSERR_NOERROR;
    return file;
}

MmioFile::~MmioFile() = default;

bool MmioFile::Readable() const {
    const DWORD access = info_.dwFlags & MMIO_RWMODE;
    return access == MMIO_READ || access == MMIO_READWRITE;
}

bool MmioFile::Writable() const {
    const DWORD access = info_.dwFlags & MMIO_RWMODE;
    return access == MMIO_WRITE || access == MMIO_READWRITE;
}

std::int64_t MmioFile::Position() const {
    if (IsMemory())
        return info_.pchNext - info_.pchBuffer;
    if (Buffered())
        return std::int64_t{info_.lBufOffset} + (info_.pchNext - info_.pchBuffer);
    return info_.lDiskOffset;
}

LRESULT MmioFile::Call(UINT message, LPARAM first, LPARAM second) {
    return info_.pIOProc(reinterpret_cast<LPSTR>(&info_), message, first, second);
}

bool MmioFile::SeekDisk(std::int64_t offset) {
    if (offset == info_.lDiskOffset)
        return true;
    return offset <= kLargestOffset &&
           Call(MMIOM_SEEK, static_cast<LPARAM>(offset), SEEK_SET) == offset;
}

MMRESULT MmioFile::FlushBuffer() {
    if (IsMemory() || !Buffered() || !(info_.dwFlags & MMIO_DIRTY))
        return MMSYSERR_NOERROR;
    const LONG count = Valid();
    if (count > 0) {
        if (!SeekDisk(info_.lBufOffset))
            return MMIOERR_CANNOTSEEK;
        if (Call(MMIOM_WRITE, reinterpret_cast<LPARAM>(info_.pchBuffer), count) != count)
            return MMIOERR_CANNOTWRITE;
    }
    info_.dwFlags &= ~MMIO_DIRTY;
    return MMSYSERR_NOERROR;
}

void MmioFile::EmptyBufferAt(std::int64_t offset) {
    info_.lBufOffset = static_cast<LONG>(offset);
    info_.pchNext = info_.pchEndRead = info_.pchBuffer;
    info_.pchEndWrite = info_.pchBuffer + info_.cchBuffer;
}

MMRESULT MmioFile::FillBuffer(std::int64_t offset) {
    if (offset > kLargestOffset)
        return MMIOERR_CANNOTSEEK;
    EmptyBufferAt(offset);
    if (!SeekDisk(offset))
        return MMIOERR_CANNOTSEEK;
    const LRESULT count =
        Call(MMIOM_READ, reinterpret_cast<LPARAM>(info_.pchBuffer), info_.cchBuffer);
    if (count < 0 || count > info_.cchBuffer)
        return MMIOERR_CANNOTREAD;
    info_.pchEndRead = info_.pchBuffer + count;
    return MMSYSERR_NOERROR;
}

// Reads from the disk straight into the caller's memory, past a buffer that has been used up,
// and leaves the buffer empty at the new position. -1 when nothing could be read.
LONG MmioFile::ReadPastBuffer(char* destination, LONG count) {
    if (FlushBuffer() != MMSYSERR_NOERROR)
        return -1;
    const std::int64_t offset = Position();
    if (offset > kLargestOffset || !SeekDisk(offset))
        return -1;
    EmptyBufferAt(offset);
    const LRESULT read = Call(MMIOM_READ, reinterpret_cast<LPARAM>(destination), count);
    if (read < 0 || read > count)
        return -1;
    EmptyBufferAt(offset + read);
    return static_cast<LONG>(read);
}

MMRESULT MmioFile::AdvanceBuffer(UINT direction) {
    if (const MMRESULT flushed = FlushBuffer())
        return flushed;
    const std::int64_t offset = Position();
    if (direction == MMIO_READ)
        return FillBuffer(offset);
    if (offset > kLargestOffset)
        return MMIOERR_CANNOTWRITE;
    EmptyBufferAt(offset);
    return MMSYSERR_NOERROR;
}

MMRESULT MmioFile::GrowMemory(LONG least) {
    const LONG increment =
        static_cast<LONG>(std::min<std::int64_t>(info_.adwInfo[0], kLargestOffset));
    if (!growable_ || increment <= 0)
        return MMIOERR_CANNOTEXPAND;
    const std::int64_t steps = (std::int64_t{least} + increment - 1) / increment;
    const std::int64_t size = info_.cchBuffer + steps * increment;
    if (size > kLargestOffset)
        return MMIOERR_CANNOTEXPAND;
    std::unique_ptr<char[]> grown(new (std::nothrow) char[size]());
    if (!grown)
        return MMIOERR_OUTOFMEMORY;
    const std::int64_t next = Position();
    if (info_.cchBuffer > 0)
        std::memcpy(grown.get(), info_.pchBuffer, info_.cchBuffer);
    ownedBuffer_ = std::move(grown);
    info_.pchBuffer = ownedBuffer_.get();
    info_.cchBuffer = static_cast<LONG>(size);
    info_.pchNext = info_.pchBuffer + next;
    info_.pchEndRead = info_.pchEndWrite = info_.pchBuffer + size;
    return MMSYSERR_NOERROR;
}

MMRESULT MmioFile::UseBuffer(char* buffer, LONG size) {
    const std::int64_t position = Position();
    info_.pchBuffer = buffer;
    info_.cchBuffer = buffer ? size : 0;
    if (buffer == nullptr) {
        // Unbuffered from here: the disk position is the file position.
        info_.pchNext = info_.pchEndRead = info_.pchEndWrite = nullptr;
        info_.lBufOffset = 0;
        return SeekDisk(position) ? MMSYSERR_NOERROR : MMIOERR_CANNOTSEEK;
    }
    EmptyBufferAt(position);
    return MMSYSERR_NOERROR;
}

MMRESULT MmioFile::Close() {
    if (IsMemory())
        return MMSYSERR_NOERROR;
    const MMRESULT flushed = FlushBuffer();
    const LRESULT closed = Call(MMIOM_CLOSE, 0, 0);
    return flushed != MMSYSERR_NOERROR ? flushed : static_cast<MMRESULT>(closed);
}

LONG MmioFile::Read(char* destination, LONG count) {
    if (count < 0 || (destination == nullptr && count > 0) || !Readable())
        return -1;
    if (!IsMemory() && !Buffered()) {
        const LRESULT read = Call(MMIOM_READ, reinterpret_cast<LPARAM>(destination), count);
        return read < 0 || read > count ? -1 : static_cast<LONG>(read);
    }
    // A read of a buffer's length or more would refill the buffer only to copy it out again:
    // past what the buffer holds, it reads from the disk itself.
    const bool pastBuffer = !IsMemory() && count >= info_.cchBuffer;
    LONG done = 0;
    while (done < count) {
        const LONG available = static_cast<LONG>(info_.pchEndRead - info_.pchNext);
        if (available == 0) {
            if (IsMemory())
                break;
            if (pastBuffer) {
                const LONG read = ReadPastBuffer(destination + done, count - done);
                if (read < 0)
                    return done > 0 ? done : -1;
                done += read;
                break;
            }
            if (AdvanceBuffer(MMIO_READ) != MMSYSERR_NOERROR)
                return done > 0 ? done : -1;
            if (info_.pchEndRead == info_.pchNext)
                break;
            continue;
        }
        const LONG piece = std::min(available, count - done);
        std::memcpy(destination + done, info_.pchNext, piece);
        info_.pchNext += piece;
        done += piece;
    }
    return done;
}

LONG MmioFile::Write(const char* source, LONG count) {
    if (count < 0 || (source == nullptr && count > 0) || !Writable())
        return -1;
    if (!IsMemory() && !Buffered()) {
        const LRESULT written =
            Call(MMIOM_WRITE, reinterpret_cast<LPARAM>(const_cast<char*>(source)), count);
        return written < 0 || written > count ? -1 : static_cast<LONG>(written);
    }
    LONG done = 0;
    while (done < count) {
        const LONG room = static_cast<LONG>(info_.pchEndWrite - info_.pchNext);
        if (room == 0) {
            const MMRESULT made = IsMemory() ? GrowMemory(count - done) : AdvanceBuffer(MMIO_WRITE);
            if (made != MMSYSERR_NOERROR)
                break;
            continue;
        }
        const LONG piece = std::min(room, count - done);
        std::memcpy(info_.pchNext, source + done, piece);
        info_.pchNext += piece;
        info_.dwFlags |= MMIO_DIRTY;
        if (Before(info_.pchEndRead, info_.pchNext))
            info_.pchEndRead = info_.pchNext;
        done += piece;
    }
    return done == 0 && count > 0 ? -1 : done;
}

LONG MmioFile::Seek(LONG offset, int origin) {
    if (!IsMemory() && !Buffered()) {
        const LRESULT position = Call(MMIOM_SEEK, offset, origin);
        return position < 0 || position > kLargestOffset ? -1 : static_cast<LONG>(position);
    }
    std::int64_t base = 0;
    switch (origin) {
    case SEEK_SET:
        break;
    case SEEK_CUR:
        base = Position();
        break;
    case SEEK_END:
        if (IsMemory()) {
            base = info_.cchBuffer;
        } else {
            const LRESULT diskEnd = Call(MMIOM_SEEK, 0, SEEK_END);
            if (diskEnd < 0)
                return -1;
            base = std::max<std::int64_t>(diskEnd, std::int64_t{info_.lBufOffset} + Valid());
        }
        break;
    default:
        return -1;
    }
    const std::int64_t target = base + offset;
    if (target < 0 || target > kLargestOffset)
        return -1;
    if (IsMemory()) {
        if (target > info_.cchBuffer)
            return -1;
        info_.pchNext = info_.pchBuffer + target;
        return static_cast<LONG>(target);
    }
    if (target >= info_.lBufOffset && target <= std::int64_t{info_.lBufOffset} + Valid()) {
        info_.pchNext = info_.pchBuffer + (target - info_.lBufOffset);
        return static_cast<LONG>(target);
    }
    if (FlushBuffer() != MMSYSERR_NOERROR)
        return -1;
    EmptyBufferAt(target);
    return static_cast<LONG>(target);
}

LONG MmioFile::SeekToChunkEnd(LONG offset) {
    if (IsMemory() && offset > info_.cchBuffer)
        offset = info_.cchBuffer;
    return Seek(offset, SEEK_SET);
}

void MmioFile::GetInfo(MMIOINFO* info) const {
    *info = info_;
}

MMRESULT MmioFile::SetInfo(const MMIOINFO& info) {
    if (!IsMemory() && !Buffered())
        return MMSYSERR_NOERROR;
    // Only the direct-access state comes back: the next byte and whether the buffer was written.
    const bool dirty = (info.dwFlags & MMIO_DIRTY) != 0;
    if (info.pchBuffer != info_.pchBuffer || Before(info.pchNext, info_.pchBuffer) ||
        Before(info_.pchEndWrite, info.pchNext) ||
        (!dirty && Before(info_.pchEndRead, info.pchNext)))
        return MMSYSERR_INVALPARAM;
    info_.pchNext = info.pchNext;
    if (dirty) {
        info_.dwFlags |= MMIO_DIRTY;
        if (Before(info_.pchEndRead, info_.pchNext))
            info_.pchEndRead = info_.pchNext;
    }
    return MMSYSERR_NOERROR;
}

MMRESULT MmioFile::Advance(MMIOINFO* info, UINT direction) {
    if (!IsMemory() && !Buffered())
        return MMIOERR_UNBUFFERED;
    if (direction != MMIO_READ && direction != MMIO_WRITE)
        return MMSYSERR_INVALFLAG;
    if (info != nullptr)
        if (const MMRESULT taken = SetInfo(*info))
            return taken;
    MMRESULT result = MMSYSERR_NOERROR;
    if (direction == MMIO_WRITE && !Writable())
        result = MMIOERR_CANNOTWRITE;
    else if (direction == MMIO_READ && !Readable())
        result = MMIOERR_CANNOTREAD;
    else if (!IsMemory())
        result = AdvanceBuffer(direction);
    else if (direction == MMIO_WRITE && info_.pchNext == info_.pchEndWrite)
        result = GrowMemory(1);
    if (info != nullptr)
        GetInfo(info);
    return result;
}

MMRESULT MmioFile::Flush(UINT flags) {
    if (const MMRESULT flushed = FlushBuffer())
        return flushed;
    if ((flags & MMIO_EMPTYBUF) && !IsMemory() && Buffered())
        EmptyBufferAt(Position());
    return MMSYSERR_NOERROR;
}

MMRESULT MmioFile::SetBuffer(char* buffer, LONG size) {
    if (IsMemory())
        return MMSYSERR_NOTSUPPORTED;
    if (size < 0 || (buffer != nullptr && size == 0))
        return MMSYSERR_INVALPARAM;
    if (const MMRESULT flushed = FlushBuffer())
        return flushed;
    std::unique_ptr<char[]> allocated;
    if (buffer == nullptr && size > 0) {
        allocated.reset(new (std::nothrow) char[size]);
        if (!allocated)
            return MMIOERR_OUTOFMEMORY;
        buffer = allocated.get();
    }
    const MMRESULT result = UseBuffer(buffer, size);
    ownedBuffer_ = std::move(allocated);
    return result;
}

} // namespace winapi::mmio
