#include "mmio/open_files.h"

#include <mmsystem.h>

#include <cctype>
#include <cstdint>

namespace {

DWORD LoadLittleEndian(const BYTE* bytes) {
    return DWORD{bytes[0]} | DWORD{bytes[1]} << 8 | DWORD{bytes[2]} << 16 | DWORD{bytes[3]} << 24;
}

void StoreLittleEndian(DWORD value, BYTE* bytes) {
    for (int index = 0; index < 4; ++index)
        bytes[index] = static_cast<BYTE>(value >> (8 * index));
}

bool HasFormType(FOURCC id) {
    return id == FOURCC_RIFF || id == FOURCC_LIST;
}

bool Matches(const MMCKINFO& found, FOURCC wantedId, FOURCC wantedType, UINT flags) {
    if (flags & MMIO_FINDCHUNK)
        return found.ckid == wantedId;
    if (flags & MMIO_FINDRIFF)
        return found.ckid == FOURCC_RIFF && found.fccType == wantedType;
    if (flags & MMIO_FINDLIST)
        return found.ckid == FOURCC_LIST && found.fccType == wantedType;
    return true;
}

bool SeekTo(HMMIO hmmio, std::int64_t offset) {
    return offset <= winapi::mmio::kLargestOffset &&
           mmioSeek(hmmio, static_cast<LONG>(offset), SEEK_SET) == offset;
}

} // namespace

MMRESULT mmioDescend(HMMIO hmmio, LPMMCKINFO pmmcki, const MMCKINFO* pmmckiParent, UINT fuDescend) {
    if (winapi::mmio::FindOpenFile(hmmio) == nullptr)
        return MMSYSERR_INVALHANDLE;
    if (pmmcki == nullptr)
        return MMSYSERR_INVALPARAM;
    const FOURCC wantedId = pmmcki->ckid;
    const FOURCC wantedType = pmmcki->fccType;
    // The search stays inside the parent's data; without a parent it runs to the end of the file.
    const std::int64_t end = pmmckiParent != nullptr
                                 ? std::int64_t{pmmckiParent->dwDataOffset} + pmmckiParent->cksize
                                 : INT64_MAX;
    std::int64_t position = mmioSeek(hmmio, 0, SEEK_CUR);
    if (position < 0)
        return MMIOERR_CANNOTSEEK;
    for (;;) {
        if (position + 8 > end)
            return MMIOERR_CHUNKNOTFOUND;
        BYTE header[8];
        if (mmioRead(hmmio, reinterpret_cast<HPSTR>(header), 8) != 8)
            return MMIOERR_CHUNKNOTFOUND;
        MMCKINFO found{};
        found.ckid = LoadLittleEndian(header);
        found.cksize = LoadLittleEndian(header + 4);
        found.dwDataOffset = static_cast<DWORD>(position + 8);
        if (HasFormType(found.ckid)) {
            BYTE type[4];
            if (mmioRead(hmmio, reinterpret_cast<HPSTR>(type), 4) != 4)
                return MMIOERR_CHUNKNOTFOUND;
            found.fccType = LoadLittleEndian(type);
        }
        if (Matches(found, wantedId, wantedType, fuDescend)) {
            *pmmcki = found;
            return MMSYSERR_NOERROR;
        }
        // Chunks are padded to an even length.
        position += 8 + std::int64_t{found.cksize} + (found.cksize & 1);
        if (!SeekTo(hmmio, position))
            return MMIOERR_CHUNKNOTFOUND;
    }
}

MMRESULT mmioAscend(HMMIO hmmio, LPMMCKINFO pmmcki, UINT) {
    if (winapi::mmio::FindOpenFile(hmmio) == nullptr)
        return MMSYSERR_INVALHANDLE;
    if (pmmcki == nullptr)
        return MMSYSERR_INVALPARAM;
    if (!(pmmcki->dwFlags & MMIO_DIRTY)) {
        // A chunk that claims more than the file holds is left all the same, for a memory file as
        // for a disk file: the next descent then finds nothing.
        const std::int64_t end =
            std::int64_t{pmmcki->dwDataOffset} + pmmcki->cksize + (pmmcki->cksize & 1);
        return end <= winapi::mmio::kLargestOffset &&
                       winapi::mmio::SeekToChunkEnd(hmmio, static_cast<LONG>(end)) >= 0
                   ? MMSYSERR_NOERROR
                   : MMIOERR_CANNOTSEEK;
    }
    // A chunk being written ends at the current position: fix its size, then pad it.
    const LONG position = mmioSeek(hmmio, 0, SEEK_CUR);
    if (position < 0 || static_cast<DWORD>(position) < pmmcki->dwDataOffset ||
        pmmcki->dwDataOffset < 4)
        return MMIOERR_CANNOTSEEK;
    const DWORD size = static_cast<DWORD>(position) - pmmcki->dwDataOffset;
    if (size != pmmcki->cksize) {
        BYTE stored[4];
        StoreLittleEndian(size, stored);
        if (!SeekTo(hmmio, pmmcki->dwDataOffset - 4))
            return MMIOERR_CANNOTSEEK;
        if (mmioWrite(hmmio, reinterpret_cast<const char*>(stored), 4) != 4)
            return MMIOERR_CANNOTWRITE;
        pmmcki->cksize = size;
        if (!SeekTo(hmmio, position))
            return MMIOERR_CANNOTSEEK;
    }
    if (size & 1) {
        const char pad = 0;
        if (mmioWrite(hmmio, &pad, 1) != 1)
            return MMIOERR_CANNOTWRITE;
    }
    return MMSYSERR_NOERROR;
}

MMRESULT mmioCreateChunk(HMMIO hmmio, LPMMCKINFO pmmcki, UINT fuCreate) {
    if (winapi::mmio::FindOpenFile(hmmio) == nullptr)
        return MMSYSERR_INVALHANDLE;
    if (pmmcki == nullptr)
        return MMSYSERR_INVALPARAM;
    const LONG position = mmioSeek(hmmio, 0, SEEK_CUR);
    if (position < 0 || position > winapi::mmio::kLargestOffset - 12)
        return MMIOERR_CANNOTSEEK;
    if (fuCreate & MMIO_CREATERIFF)
        pmmcki->ckid = FOURCC_RIFF;
    else if (fuCreate & MMIO_CREATELIST)
        pmmcki->ckid = FOURCC_LIST;
    BYTE header[12];
    StoreLittleEndian(pmmcki->ckid, header);
    StoreLittleEndian(pmmcki->cksize, header + 4);
    StoreLittleEndian(pmmcki->fccType, header + 8);
    const LONG length = HasFormType(pmmcki->ckid) ? 12 : 8;
    pmmcki->dwDataOffset = static_cast<DWORD>(position) + 8;
    pmmcki->dwFlags = MMIO_DIRTY;
    if (mmioWrite(hmmio, reinterpret_cast<const char*>(header), length) != length)
        return MMIOERR_CANNOTWRITE;
    return MMSYSERR_NOERROR;
}

FOURCC mmioStringToFOURCCA(LPCSTR sz, UINT uFlags) {
    char code[4] = {' ', ' ', ' ', ' '};
    for (int index = 0; sz != nullptr && index < 4 && sz[index] != '\0'; ++index) {
        const unsigned char c = static_cast<unsigned char>(sz[index]);
        code[index] = static_cast<char>((uFlags & MMIO_TOUPPER) ? std::toupper(c) : c);
    }
    return mmioFOURCC(code[0], code[1], code[2], code[3]);
}
