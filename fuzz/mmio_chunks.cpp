// Walks arbitrary bytes as RIFF chunks through memory files and a buffered file over an I/O
// procedure, reading chunk data plainly and through the direct buffer, then writes the chunks it
// found into a new file and checks that they read back with the same ids and sizes.

#include <mmsystem.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct Source {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};
Source source;

LRESULT CALLBACK SourceProcedure(LPSTR infoBytes, UINT message, LPARAM first, LPARAM second) {
    MMIOINFO& info = *reinterpret_cast<MMIOINFO*>(infoBytes);
    switch (message) {
    case MMIOM_READ: {
        const std::size_t at = static_cast<std::size_t>(info.lDiskOffset);
        const std::size_t count =
            at >= source.size ? 0 : std::min<std::size_t>(second, source.size - at);
        if (count > 0)
            std::memcpy(reinterpret_cast<char*>(first), source.data + at, count);
        info.lDiskOffset += static_cast<LONG>(count);
        return static_cast<LRESULT>(count);
    }
    case MMIOM_SEEK: {
        const long long base = second == SEEK_END   ? static_cast<long long>(source.size)
                               : second == SEEK_CUR ? info.lDiskOffset
                                                    : 0;
        const long long target = base + first;
        if (target < 0 || target > INT32_MAX)
            return -1;
        info.lDiskOffset = static_cast<LONG>(target);
        return info.lDiskOffset;
    }
    case MMIOM_WRITE:
    case MMIOM_WRITEFLUSH:
        return -1;
    default:
        return 0;
    }
}

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

void CheckBuffer(const MMIOINFO& info) {
    Check(info.pchBuffer <= info.pchNext && info.pchNext <= info.pchEndRead &&
          info.pchEndRead <= info.pchEndWrite &&
          info.pchEndWrite == info.pchBuffer + info.cchBuffer);
}

struct Found {
    FOURCC id;
    DWORD size;
};

void Walk(HMMIO file, const MMCKINFO* parent, int depth, int& budget, std::vector<Found>& found) {
    while (budget-- > 0) {
        MMCKINFO chunk{};
        if (mmioDescend(file, &chunk, parent, 0) != MMSYSERR_NOERROR)
            return;
        if (chunk.ckid != FOURCC_RIFF && chunk.ckid != FOURCC_LIST)
            found.push_back({chunk.ckid, chunk.cksize});
        if ((chunk.ckid == FOURCC_RIFF || chunk.ckid == FOURCC_LIST) && depth < 4) {
            Walk(file, &chunk, depth + 1, budget, found);
        } else {
            char data[64];
            const LONG wanted = static_cast<LONG>(std::min<DWORD>(chunk.cksize, sizeof data));
            const LONG read = mmioRead(file, data, wanted);
            Check(read >= -1 && read <= wanted);
        }
        if (mmioAscend(file, &chunk, 0) != MMSYSERR_NOERROR)
            return;
    }
}

// Reads the "data" chunk through the direct buffer, as the wave reader does.
void ReadWaveData(HMMIO file) {
    MMCKINFO riff{};
    if (mmioSeek(file, 0, SEEK_SET) != 0 || mmioDescend(file, &riff, nullptr, 0) != 0)
        return;
    MMCKINFO fmt{};
    fmt.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file, &fmt, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR) {
        PCMWAVEFORMAT pcm;
        Check(mmioRead(file, reinterpret_cast<HPSTR>(&pcm), sizeof pcm) <= 16);
    }
    if (mmioSeek(file, static_cast<LONG>(riff.dwDataOffset) + 4, SEEK_SET) < 0)
        return;
    MMCKINFO data{};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file, &data, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
        return;
    MMIOINFO info{};
    Check(mmioGetInfo(file, &info, 0) == MMSYSERR_NOERROR);
    unsigned sum = 0;
    for (DWORD left = std::min<DWORD>(data.cksize, 1 << 16); left > 0; --left) {
        if (info.pchNext == info.pchEndRead) {
            if (mmioAdvance(file, &info, MMIO_READ) != MMSYSERR_NOERROR)
                break;
            CheckBuffer(info);
            if (info.pchNext == info.pchEndRead)
                break;
        }
        sum += static_cast<unsigned char>(*info.pchNext++);
    }
    Check(mmioSetInfo(file, &info, 0) == MMSYSERR_NOERROR);
    (void)sum;
}

void RoundTrip(const std::vector<Found>& found, const std::uint8_t* data, std::size_t size) {
    MMIOINFO setup{};
    setup.fccIOProc = FOURCC_MEM;
    setup.adwInfo[0] = 64;
    HMMIO file = mmioOpenA(nullptr, &setup, MMIO_READWRITE);
    Check(file != nullptr);
    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('T', 'E', 'S', 'T');
    Check(mmioCreateChunk(file, &riff, MMIO_CREATERIFF) == MMSYSERR_NOERROR);
    std::vector<DWORD> written;
    for (std::size_t index = 0; index < found.size() && index < 16; ++index) {
        MMCKINFO chunk{};
        chunk.ckid = found[index].id == FOURCC_RIFF || found[index].id == FOURCC_LIST
                         ? mmioFOURCC('s', 'u', 'b', ' ')
                         : found[index].id;
        Check(mmioCreateChunk(file, &chunk, 0) == MMSYSERR_NOERROR);
        const LONG length = static_cast<LONG>(std::min<std::size_t>(found[index].size % 97, size));
        Check(mmioWrite(file, reinterpret_cast<const char*>(data), length) == length);
        Check(mmioAscend(file, &chunk, 0) == MMSYSERR_NOERROR);
        Check(chunk.cksize == static_cast<DWORD>(length));
        written.push_back(chunk.cksize);
    }
    Check(mmioAscend(file, &riff, 0) == MMSYSERR_NOERROR);

    Check(mmioSeek(file, 0, SEEK_SET) == 0);
    MMCKINFO again{};
    again.fccType = riff.fccType;
    Check(mmioDescend(file, &again, nullptr, MMIO_FINDRIFF) == MMSYSERR_NOERROR);
    Check(again.cksize == riff.cksize);
    for (DWORD size : written) {
        MMCKINFO chunk{};
        Check(mmioDescend(file, &chunk, &again, 0) == MMSYSERR_NOERROR);
        Check(chunk.cksize == size);
        Check(mmioAscend(file, &chunk, 0) == MMSYSERR_NOERROR);
    }
    MMCKINFO beyond{};
    Check(mmioDescend(file, &beyond, &again, 0) == MMIOERR_CHUNKNOTFOUND);
    Check(mmioClose(file, 0) == MMSYSERR_NOERROR);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A private copy: the memory file may be written to by nobody, but it must not alias the input.
    std::vector<std::uint8_t> bytes(data, data + size);
    std::vector<Found> found;

    MMIOINFO memory{};
    memory.fccIOProc = FOURCC_MEM;
    memory.pchBuffer = reinterpret_cast<HPSTR>(bytes.data());
    memory.cchBuffer = static_cast<LONG>(bytes.size());
    HMMIO file = mmioOpenA(nullptr, &memory, MMIO_READ | MMIO_ALLOCBUF);
    Check(file != nullptr);
    int budget = 256;
    Walk(file, nullptr, 0, budget, found);
    ReadWaveData(file);
    Check(mmioClose(file, 0) == MMSYSERR_NOERROR);

    // The same bytes through a small buffer over an I/O procedure, as a disk file would be read.
    source = {data, size};
    MMIOINFO procedure{};
    procedure.pIOProc = SourceProcedure;
    procedure.cchBuffer = size > 0 ? 1 + data[0] % 32 : 5;
    file = mmioOpenA(nullptr, &procedure, MMIO_READ | MMIO_ALLOCBUF);
    Check(file != nullptr);
    std::vector<Found> foundAgain;
    budget = 256;
    Walk(file, nullptr, 0, budget, foundAgain);
    ReadWaveData(file);
    Check(mmioClose(file, 0) == MMSYSERR_NOERROR);
    Check(foundAgain.size() == found.size());

    RoundTrip(found, data, size);
    return 0;
}
