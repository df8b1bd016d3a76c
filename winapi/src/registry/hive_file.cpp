#include "hive_file.h"
#include "hive_format.h"
#include "store_folder.h"
#include "winapi/winreg.h"
#include "write_observer.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace winapi::registry {
namespace {

using hooks::RegistryWriteStage;

void Reached(RegistryWriteStage stage) {
    std::function<void(RegistryWriteStage)> observer;
    {
        std::lock_guard lock(writeObserver.mutex);
        observer = writeObserver.observer;
    }
    if (observer) {
        observer(stage);
    }
}

// Reads to the end, or fails once more than limit bytes come.
bool ReadAll(int fd, std::size_t limit, std::vector<BYTE>& bytes, bool& tooLong) {
    BYTE chunk[16384];
    tooLong = false;
    while (true) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0) {
            return true;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (static_cast<std::size_t>(got) > limit - bytes.size()) {
            tooLong = true;
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
}

bool WriteAll(int fd, const std::vector<BYTE>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

LONG ReadHiveFile(int folder, const std::string& name, Hive& hive) {
    FileDescriptor fd(OpenAt(folder, name, O_RDONLY));
    if (!fd.Valid()) {
        if (errno == ENOENT) {
            hive = Hive();
            return ERROR_SUCCESS;
        }
        return ERROR_CANTREAD;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        return ERROR_CANTREAD;
    }
    if (S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) > kMaxHiveFileSize) {
        return ERROR_BADDB;
    }
    std::vector<BYTE> bytes;
    if (S_ISREG(info.st_mode)) {
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    // The size is checked again while reading: the file may not be a plain one.
    bool tooLong = false;
    if (!ReadAll(fd.Get(), kMaxHiveFileSize, bytes, tooLong)) {
        return tooLong ? ERROR_BADDB : ERROR_CANTREAD;
    }
    auto parsed = ParseHive(bytes);
    if (!parsed) {
        return ERROR_BADDB;
    }
    hive = std::move(*parsed);
    return ERROR_SUCCESS;
}

// Writes the whole content beside the file, flushes it, then renames it over the file. Called
// under the root's lock, so a temporary file already there is a dead writer's leftover or was put
// there by someone else: it is removed, never written through.
bool ReplaceFile(int folder, const std::string& name, const std::vector<BYTE>& bytes) {
    const std::string temporary = name + ".tmp";
    if (::unlinkat(folder, temporary.c_str(), 0) != 0 && errno != ENOENT) {
        return false;
    }
    FileDescriptor fd(OpenAt(folder, temporary, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600));
    if (!fd.Valid()) {
        return false;
    }
    bool written = WriteAll(fd.Get(), bytes);
    if (written) {
        Reached(RegistryWriteStage::TempWritten);
        written = ::fsync(fd.Get()) == 0;
    }
    written = fd.Close() && written;
    if (written) {
        Reached(RegistryWriteStage::TempSynced);
        written = ::renameat(folder, temporary.c_str(), folder, name.c_str()) == 0;
    }
    if (!written) {
        ::unlinkat(folder, temporary.c_str(), 0);
        return false;
    }
    Reached(RegistryWriteStage::Renamed);
    // The new content is in place; a failed flush of the folder only risks it on power loss.
    ::fsync(folder);
    Reached(RegistryWriteStage::FolderSynced);
    return true;
}

} // namespace

LONG ReadHive(Root root, Hive& hive) {
    const std::string location = StoreFolder();
    FileDescriptor folder;
    switch (location.empty() ? FolderState::Missing : OpenStoreFolder(location, false, folder)) {
    case FolderState::Opened:
        return ReadHiveFile(folder.Get(), RootFileName(root), hive);
    case FolderState::Missing:
        hive = Hive();
        return ERROR_SUCCESS;
    case FolderState::Refused:
        return ERROR_ACCESS_DENIED;
    case FolderState::Failed:
        break;
    }
    return ERROR_CANTREAD;
}

LONG UpdateHive(Root root, const std::function<LONG(Hive&)>& change) {
    const std::string location = StoreFolder();
    if (location.empty()) {
        return ERROR_CANTWRITE;
    }
    FileDescriptor folder;
    switch (OpenStoreFolder(location, true, folder)) {
    case FolderState::Opened:
        break;
    case FolderState::Refused:
        return ERROR_ACCESS_DENIED;
    case FolderState::Missing:
    case FolderState::Failed:
        return ERROR_CANTWRITE;
    }
    const std::string name = RootFileName(root);
    FileDescriptor lock(OpenAt(folder.Get(), name + ".lock", O_RDWR | O_CREAT | O_NOFOLLOW, 0600));
    if (!lock.Valid()) {
        return ERROR_CANTWRITE;
    }
    int locked;
    do {
        locked = ::flock(lock.Get(), LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        return ERROR_CANTWRITE;
    }
    Hive hive;
    if (const LONG status = ReadHiveFile(folder.Get(), name, hive); status != ERROR_SUCCESS) {
        return status;
    }
    Reached(RegistryWriteStage::Locked);
    const Hive before = hive;
    if (const LONG status = change(hive); status != ERROR_SUCCESS) {
        return status;
    }
    if (hive == before) {
        return ERROR_SUCCESS;
    }
    const std::vector<BYTE> bytes = SerializeHive(hive);
    if (bytes.size() > kMaxHiveFileSize) {
        return ERROR_CANTWRITE;
    }
    return ReplaceFile(folder.Get(), name, bytes) ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

WriteObserver writeObserver;

} // namespace winapi::registry
