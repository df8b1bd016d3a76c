#pragma once
// Finding media files along a fixed list of folders, and the SDK's media folder.
// Capacities count characters, terminator included; the Bytes forms take the same capacity in
// bytes (one byte per narrow character).

#include <windows.h>

// The SDK media folder, ending in a backslash: S_OK; E_FAIL when the registry does not record it;
// E_INVALIDARG for a missing destination, a capacity below 1, or a folder that does not fit with
// its "\\Media\\" ending. On failure the destination is empty.
HRESULT QuerySdkMediaFolder(char* dest, int capacity);
HRESULT QuerySdkMediaFolderBytes(char* dest, int capacityBytes);

// Looks for name (and then "media\\" + name) next to the working folder, the executable's folder
// and the SDK media folder, then in every folder above the working folder and the executable's.
// S_OK with the first path that exists; E_FAIL with the bare name when none does; E_INVALIDARG
// for a missing or empty name, a missing destination or a capacity below 10. Only paths that fit
// the destination whole are considered.
HRESULT LocateMediaFile(char* dest, int capacity, const char* name);
HRESULT LocateMediaFileBytes(char* dest, int capacityBytes, const char* name);
