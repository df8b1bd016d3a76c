#include "hive_file.h"
#include "hive_format.h"
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

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    // Closing reports the last write errors of some file systems, so its result matters.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

int OpenRetrying(const std::string& path, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool ReadAll(int fd, std::vector<BYTE>& bytes) {
    BYTE chunk[16384];
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

bool SyncFolder(const std::string& folder) {
    FileDescriptor fd(OpenRetrying(folder, O_RDONLY | O_DIRECTORY));
    return fd.Valid() && ::fsync(fd.Get()) == 0;
}

// Creates the folder and any missing folders above it, private to the user.
bool MakeFolders(const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    const auto cut = folder.find_last_of('/');
    const std::string parent = cut == std::string::npos ? "." : folder.substr(0, cut);
    if (!parent.empty() && !MakeFolders(parent)) {
        return false;
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    return SyncFolder(parent.empty() ? "/" : parent);
}

LONG ReadHiveFile(const std::string& path, Hive& hive) {
    FileDescriptor fd(OpenRetrying(path, O_RDONLY));
    if (!fd.Valid()) {
        if (errno == ENOENT || errno == ENOTDIR) {
            hive = Hive();
            return ERROR_SUCCESS;
        }
        return ERROR_CANTREAD;
    }
    std::vector<BYTE> bytes;
    if (!ReadAll(fd.Get(), bytes)) {
        return ERROR_CANTREAD;
    }
    auto parsed = ParseHive(bytes);
    if (!parsed) {
        return ERROR_BADDB;
    }
    hive = std::move(*parsed);
    return ERROR_SUCCESS;
}

// Writes the whole content beside the file, flushes it, then renames it over the file.
bool ReplaceFile(const std::string& folder, const std::string& path,
                 const std::vector<BYTE>& bytes) {
    const std::string temporary = path + ".tmp";
    FileDescriptor fd(OpenRetrying(temporary, O_WRONLY | O_CREAT | O_TRUNC, 0600));
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
        written = ::rename(temporary.c_str(), path.c_str()) == 0;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        return false;
    }
    Reached(RegistryWriteStage::Renamed);
    // The new content is in place; a failed flush of the folder only risks it on power loss.
    SyncFolder(folder);
    Reached(RegistryWriteStage::FolderSynced);
    return true;
}

} // namespace

LONG ReadHive(Root root, Hive& hive) {
    const std::string folder = StoreFolder();
    if (folder.empty()) {
        hive = Hive();
        return ERROR_SUCCESS;
    }
    return ReadHiveFile(folder + "/" + RootFileName(root), hive);
}

LONG UpdateHive(Root root, const std::function<LONG(Hive&)>& change) {
    const std::string folder = StoreFolder();
    if (folder.empty() || !MakeFolders(folder)) {
        return ERROR_CANTWRITE;
    }
    const std::string path = folder + "/" + RootFileName(root);
    FileDescriptor lock(OpenRetrying(path + ".lock", O_RDWR | O_CREAT, 0600));
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
    if (const LONG status = ReadHiveFile(path, hive); status != ERROR_SUCCESS) {
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
    return ReplaceFile(folder, path, SerializeHive(hive)) ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

WriteObserver writeObserver;

} // namespace winapi::registry
