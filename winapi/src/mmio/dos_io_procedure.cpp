#include "mmio/dos_io_procedure.h"
#include "mmio/mmio_file.h"
#include "path/data_folder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace winapi::mmio {
namespace {

// A missing file and a missing folder on the way to it are told apart, as on the platform.
bool FolderExists(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return true;
    struct stat status {};
    return stat(path.substr(0, slash + 1).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

UINT OpenErrorFromErrno(int error, const std::string& path) {
    switch (error) {
    case ENOENT:
        return FolderExists(path) ? MMIOERR_FILENOTFOUND : MMIOERR_PATHNOTFOUND;
    case ENOTDIR:
        return MMIOERR_PATHNOTFOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return MMIOERR_ACCESSDENIED;
    case EMFILE:
    case ENFILE:
        return MMIOERR_TOOMANYOPENFILES;
    case ENOMEM:
        return MMIOERR_OUTOFMEMORY;
    default:
        return MMIOERR_CANNOTOPEN;
    }
}

LRESULT OpenFile(MMIOINFO& info, LPCSTR name) {
    if (name == nullptr || *name == '\0')
        return MMIOERR_FILENOTFOUND;
    int mode = O_RDONLY;
    switch (info.dwFlags & MMIO_RWMODE) {
    case MMIO_READ:
        mode = O_RDONLY;
        break;
    case MMIO_WRITE:
        mode = O_WRONLY;
        break;
    case MMIO_READWRITE:
        mode = O_RDWR;
        break;
    default:
        return MMSYSERR_INVALFLAG;
    }
    if (info.dwFlags & MMIO_CREATE) {
        // Truncating needs write access at the descriptor even when the file is read only.
        if (mode == O_RDONLY)
            mode = O_RDWR;
        mode |= O_CREAT | O_TRUNC;
    }
    const bool reading = (info.dwFlags & (MMIO_RWMODE | MMIO_CREATE)) == MMIO_READ;
    const std::string path = reading ? winapi::path::ForReading(PosixPath(name)) : PosixPath(name);
    const int descriptor = open(path.c_str(), mode | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return OpenErrorFromErrno(errno, path);
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
        close(descriptor);
        return MMIOERR_ACCESSDENIED;
    }
    info.adwInfo[0] = static_cast<DWORD>(descriptor);
    info.lDiskOffset = 0;
    return MMSYSERR_NOERROR;
}

LRESULT Transfer(MMIOINFO& info, char* buffer, LONG count, bool writing) {
    if (count < 0 || (buffer == nullptr && count > 0))
        return -1;
    const int descriptor = static_cast<int>(info.adwInfo[0]);
    LONG done = 0;
    while (done < count) {
        const off_t at = static_cast<off_t>(info.lDiskOffset) + done;
        if (at + (count - done) > kLargestOffset)
            return done > 0 ? done : -1; // offsets of these files are 32-bit
        const ssize_t moved = writing ? pwrite(descriptor, buffer + done, count - done, at)
                                      : pread(descriptor, buffer + done, count - done, at);
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved < 0)
            return done > 0 ? done : -1;
        if (moved == 0)
            break;
        done += static_cast<LONG>(moved);
    }
    info.lDiskOffset += done;
    return done;
}

LRESULT SeekFile(MMIOINFO& info, LONG offset, int origin) {
    long long base = 0;
    switch (origin) {
    case SEEK_SET:
        break;
    case SEEK_CUR:
        base = info.lDiskOffset;
        break;
    case SEEK_END: {
        struct stat status {};
        if (fstat(static_cast<int>(info.adwInfo[0]), &status) != 0)
            return -1;
        base = status.st_size;
        break;
    }
    default:
        return -1;
    }
    const long long target = base + offset;
    if (target < 0 || target > kLargestOffset)
        return -1;
    info.lDiskOffset = static_cast<LONG>(target);
    return info.lDiskOffset;
}

} // namespace

std::string PosixPath(LPCSTR path) {
    std::string converted(path);
    for (char& c : converted)
        if (c == '\\')
            c = '/';
    return converted;
}

LRESULT CALLBACK DosIoProcedure(LPSTR infoBytes, UINT message, LPARAM first, LPARAM second) {
    MMIOINFO& info = *reinterpret_cast<MMIOINFO*>(infoBytes);
    switch (message) {
    case MMIOM_OPEN:
        return OpenFile(info, reinterpret_cast<LPCSTR>(first));
    case MMIOM_CLOSE:
        return close(static_cast<int>(info.adwInfo[0])) == 0 ? MMSYSERR_NOERROR
                                                             : MMIOERR_CANNOTCLOSE;
    case MMIOM_READ:
        return Transfer(info, reinterpret_cast<char*>(first), static_cast<LONG>(second), false);
    case MMIOM_WRITE:
    case MMIOM_WRITEFLUSH:
        return Transfer(info, reinterpret_cast<char*>(first), static_cast<LONG>(second), true);
    case MMIOM_SEEK:
        return SeekFile(info, static_cast<LONG>(first), static_cast<int>(second));
    default:
        return 0;
    }
}

} // namespace winapi::mmio
