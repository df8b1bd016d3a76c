#include "util/media_search.h"

#include "util/bounded_string.h"
#include "util/executable_location.h"
#include "util/sdk_registry.h"

#include <cstring>

namespace {

constexpr const char* kMediaSuffix = "\\Media\\";
constexpr int kMinimumCapacity = 10;

bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// The fixed candidates for one name, in order. Each is formatted into the destination; one that
// does not fit whole is skipped rather than tested in its cut form, which could name some other
// file or folder.
bool TryCandidates(char* dest, int capacity, const char* name, const char* sdkFolder,
                   const ExecutableLocation& exe) {
    const struct {
        const char* format;
        const char* first;
        const char* second;
        const char* third;
    } candidates[] = {
        {"%s", name, nullptr, nullptr},                         // working folder
        {"..\\%s", name, nullptr, nullptr},                     // its parent
        {"..\\..\\%s", name, nullptr, nullptr},                 // its grandparent
        {"%s\\%s", exe.folder, name, nullptr},                  // executable's folder
        {"%s\\..\\%s", exe.folder, name, nullptr},              // its parent
        {"%s\\..\\..\\%s", exe.folder, name, nullptr},          // its grandparent
        {"%s\\..\\%s\\%s", exe.folder, exe.baseName, name},     // sibling named after it
        {"%s\\..\\..\\%s\\%s", exe.folder, exe.baseName, name}, // one level higher
        {"%s%s", sdkFolder, name, nullptr},                     // SDK media folder
    };
    const auto room = static_cast<std::size_t>(capacity);
    for (const auto& candidate : candidates) {
        if (BoundedFormat(dest, room, candidate.format, candidate.first, candidate.second,
                          candidate.third) == S_OK &&
            Exists(dest)) {
            return true;
        }
    }
    return false;
}

// Tests start\leaf, then the same leaf in each folder above start, up to but not including the
// root (which has no final component).
bool SearchUpward(char* dest, int capacity, const char* leaf, const char* start) {
    char folder[MAX_PATH];
    char* finalComponent = nullptr;
    DWORD length = GetFullPathNameA(start, MAX_PATH, folder, &finalComponent);
    while (length != 0 && length < MAX_PATH && finalComponent != nullptr) {
        char candidate[MAX_PATH];
        if (BoundedFormat(candidate, MAX_PATH, "%s\\%s", folder, leaf) == S_OK &&
            Exists(candidate) &&
            BoundedCopy(dest, static_cast<std::size_t>(capacity), candidate) == S_OK) {
            return true;
        }
        char parent[MAX_PATH];
        if (BoundedFormat(parent, MAX_PATH, "%s\\..", folder) != S_OK) {
            return false;
        }
        length = GetFullPathNameA(parent, MAX_PATH, folder, &finalComponent);
    }
    return false;
}

} // namespace

HRESULT QuerySdkMediaFolder(char* dest, int capacity) {
    if (dest == nullptr || capacity < 1) {
        return E_INVALIDARG;
    }
    if (!ReadSdkSamplesPath(dest, static_cast<DWORD>(capacity))) {
        return E_FAIL;
    }
    if (std::strlen(dest) + std::strlen(kMediaSuffix) >= static_cast<std::size_t>(capacity)) {
        dest[0] = '\0';
        return E_INVALIDARG;
    }
    return BoundedAppend(dest, static_cast<std::size_t>(capacity), kMediaSuffix);
}

HRESULT QuerySdkMediaFolderBytes(char* dest, int capacityBytes) {
    return QuerySdkMediaFolder(dest, capacityBytes);
}

HRESULT LocateMediaFile(char* dest, int capacity, const char* name) {
    if (name == nullptr || *name == '\0' || dest == nullptr || capacity < kMinimumCapacity) {
        return E_INVALIDARG;
    }
    char sdkFolder[MAX_PATH];
    QuerySdkMediaFolder(sdkFolder, MAX_PATH); // empty when the SDK is not recorded
    const ExecutableLocation exe = FindExecutableLocation();
    char mediaName[MAX_PATH];
    const bool mediaNameFits = BoundedFormat(mediaName, MAX_PATH, "media\\%s", name) == S_OK;

    if (TryCandidates(dest, capacity, name, sdkFolder, exe) ||
        (mediaNameFits && TryCandidates(dest, capacity, mediaName, sdkFolder, exe))) {
        return S_OK;
    }
    if (SearchUpward(dest, capacity, name, ".") || SearchUpward(dest, capacity, name, exe.folder) ||
        (mediaNameFits && (SearchUpward(dest, capacity, mediaName, ".") ||
                           SearchUpward(dest, capacity, mediaName, exe.folder)))) {
        return S_OK;
    }
    BoundedCopy(dest, static_cast<std::size_t>(capacity), name);
    return E_FAIL;
}

HRESULT LocateMediaFileBytes(char* dest, int capacityBytes, const char* name) {
    return LocateMediaFile(dest, capacityBytes, name);
}
