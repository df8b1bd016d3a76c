#include "store_folder.h"

#include <cstdio>

namespace winapi::registry {
namespace {

bool SyncFolder(const std::string& folder) {
    FileDescriptor fd(OpenAt(AT_FDCWD, folder, O_RDONLY | O_DIRECTORY));
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
    // The process's mask can only take permissions away from 0700.
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    return SyncFolder(parent.empty() ? "/" : parent);
}

} // namespace

std::string FolderDistrust(const struct stat& info) {
    const uid_t user = ::geteuid();
    if (info.st_uid != user) {
        return "it belongs to another user (uid " + std::to_string(info.st_uid) + ", not " +
               std::to_string(user) + ")";
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
        return std::string("its group or others can write to it (mode ") + mode + ")";
    }
    return "";
}

FolderState OpenStoreFolder(const std::string& folder, bool create, FileDescriptor& fd,
                            std::string* reason) {
    if (create && !MakeFolders(folder)) {
        return FolderState::Failed;
    }
    fd.Reset(OpenAt(AT_FDCWD, folder, O_RDONLY | O_DIRECTORY));
    if (!fd.Valid()) {
        return errno == ENOENT || errno == ENOTDIR ? FolderState::Missing : FolderState::Failed;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        fd.Reset(-1);
        return FolderState::Failed;
    }
    if (std::string distrust = FolderDistrust(info); !distrust.empty()) {
        fd.Reset(-1);
        if (reason != nullptr) {
            *reason = std::move(distrust);
        }
        return FolderState::Refused;
    }
    return FolderState::Opened;
}

} // namespace winapi::registry
