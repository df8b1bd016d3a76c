#pragma once
// The folder that holds the store, opened for one read or write. Every file operation then goes
// through its descriptor, so the folder whose owner and mode were checked is the folder used.
// A folder that another user owns, or that its group or others can write, is refused: whoever
// can write to it can plant links or damaged files where the store's files go.

#include "file_descriptor.h"

#include <string>
#include <sys/stat.h>

namespace winapi::registry {

enum class FolderState {
    Opened,
    Missing, // it, or a folder above it, does not exist (or is not a folder)
    Refused, // see above; the reason says why
    Failed,  // it exists but cannot be opened
};

// Opens the folder; with create, first makes it and the missing folders above it, each private
// to the user. reason, when given, gets why a folder was refused.
FolderState OpenStoreFolder(const std::string& folder, bool create, FileDescriptor& fd,
                            std::string* reason = nullptr);

// Why a folder with this owner and mode must not hold the store, or "" when it may.
std::string FolderDistrust(const struct stat& info);

} // namespace winapi::registry
