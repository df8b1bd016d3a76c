#include "mmio/dos_io_procedure.h"
#include "mmio/injected_failures.h"
#include "mmio/open_files.h"

#include <mutex>
#include <unistd.h>
#include <unordered_map>

namespace winapi::mmio {
namespace {

struct OpenFiles {
    std::mutex lock;
    std::unordered_map<HMMIO, std::unique_ptr<MmioFile>> files;
};

OpenFiles& Files() {
    static OpenFiles files;
    return files;
}

} // namespace

HMMIO AddOpenFile(std::unique_ptr<MmioFile> file) {
    const HMMIO handle = reinterpret_cast<HMMIO>(file.get());
    OpenFiles& open = Files();
    std::lock_guard guard(open.lock);
    open.files.emplace(handle, std::move(file));
    return handle;
}

MmioFile* FindOpenFile(HMMIO handle) {
    OpenFiles& open = Files();
    std::lock_guard guard(open.lock);
    const auto found = open.files.find(handle);
    return found == open.files.end() ? nullptr : found->second.get();
}

std::unique_ptr<MmioFile> RemoveOpenFile(HMMIO handle) {
    OpenFiles& open = Files();
    std::lock_guard guard(open.lock);
    const auto found = open.files.find(handle);
    if (found == open.files.end())
        return nullptr;
    std::unique_ptr<MmioFile> file = std::move(found->second);
    open.files.erase(found);
    return file;
}

LONG SeekToChunkEnd(HMMIO handle, LONG offset) {
    MmioFile* file = FindOpenFile(handle);
    if (file == nullptr || InjectedFailure(hooks::MmioCall::Seek))
        return -1;
    return file->SeekToChunkEnd(offset);
}

} // namespace winapi::mmio

using winapi::mmio::FindOpenFile;

HMMIO mmioOpenA(LPSTR pszFileName, LPMMIOINFO pmmioinfo, DWORD fdwOpen) {
    UINT error = MMSYSERR_NOERROR;
    HMMIO result = nullptr;
    if (fdwOpen & (MMIO_DELETE | MMIO_EXIST)) {
        // These answer TRUE or FALSE in place of a handle.
        bool done = false;
        if (pszFileName == nullptr)
            error = MMIOERR_FILENOTFOUND;
        else if (fdwOpen & MMIO_DELETE)
            done = unlink(winapi::mmio::PosixPath(pszFileName).c_str()) == 0;
        else
            done = access(winapi::mmio::PosixPath(pszFileName).c_str(), F_OK) == 0;
        if (!done && error == MMSYSERR_NOERROR)
            error = MMIOERR_FILENOTFOUND;
        result = done ? reinterpret_cast<HMMIO>(static_cast<UINT_PTR>(TRUE)) : nullptr;
    } else if (fdwOpen & (MMIO_PARSE | MMIO_GETTEMP)) {
        error = MMSYSERR_NOTSUPPORTED;
    } else if (auto file = winapi::mmio::MmioFile::Open(pszFileName, pmmioinfo, fdwOpen, &error)) {
        result = winapi::mmio::AddOpenFile(std::move(file));
    }
    if (pmmioinfo != nullptr)
        pmmioinfo->wErrorRet = error;
    return result;
}

MMRESULT mmioClose(HMMIO hmmio, UINT) {
    const auto file = winapi::mmio::RemoveOpenFile(hmmio);
    return file ? file->Close() : MMSYSERR_INVALHANDLE;
}

LONG mmioRead(HMMIO hmmio, HPSTR pch, LONG cch) {
    auto* file = FindOpenFile(hmmio);
    return file ? file->Read(pch, cch) : -1;
}

LONG mmioWrite(HMMIO hmmio, const char* pch, LONG cch) {
    auto* file = FindOpenFile(hmmio);
    return file ? file->Write(pch, cch) : -1;
}

LONG mmioSeek(HMMIO hmmio, LONG lOffset, int iOrigin) {
    auto* file = FindOpenFile(hmmio);
    if (file == nullptr || winapi::mmio::InjectedFailure(winapi::hooks::MmioCall::Seek))
        return -1;
    return file->Seek(lOffset, iOrigin);
}

MMRESULT mmioGetInfo(HMMIO hmmio, LPMMIOINFO pmmioinfo, UINT) {
    auto* file = FindOpenFile(hmmio);
    if (file == nullptr)
        return MMSYSERR_INVALHANDLE;
    if (pmmioinfo == nullptr)
        return MMSYSERR_INVALPARAM;
    if (const MMRESULT failure = winapi::mmio::InjectedFailure(winapi::hooks::MmioCall::GetInfo))
        return failure;
    file->GetInfo(pmmioinfo);
    return MMSYSERR_NOERROR;
}

MMRESULT mmioSetInfo(HMMIO hmmio, LPCMMIOINFO pmmioinfo, UINT) {
    auto* file = FindOpenFile(hmmio);
    if (file == nullptr)
        return MMSYSERR_INVALHANDLE;
    if (pmmioinfo == nullptr)
        return MMSYSERR_INVALPARAM;
    if (const MMRESULT failure = winapi::mmio::InjectedFailure(winapi::hooks::MmioCall::SetInfo))
        return failure;
    return file->SetInfo(*pmmioinfo);
}

MMRESULT mmioSetBuffer(HMMIO hmmio, LPSTR pchBuffer, LONG cchBuffer, UINT) {
    auto* file = FindOpenFile(hmmio);
    return file ? file->SetBuffer(pchBuffer, cchBuffer) : MMSYSERR_INVALHANDLE;
}

MMRESULT mmioFlush(HMMIO hmmio, UINT fuFlush) {
    auto* file = FindOpenFile(hmmio);
    return file ? file->Flush(fuFlush) : MMSYSERR_INVALHANDLE;
}

MMRESULT mmioAdvance(HMMIO hmmio, LPMMIOINFO pmmioinfo, UINT fuAdvance) {
    auto* file = FindOpenFile(hmmio);
    return file ? file->Advance(pmmioinfo, fuAdvance) : MMSYSERR_INVALHANDLE;
}
