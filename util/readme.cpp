#include "util/readme.h"

#include <shellapi.h>

#include "util/bounded_string.h"
#include "util/executable_location.h"
#include "util/path_text.h"
#include "util/sdk_registry.h"

#include <initializer_list>

namespace {

constexpr std::size_t kPathCapacity = 1024;
constexpr INT kShowNormal = 5;

using ShellExecuteFunction = HINSTANCE (*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

constexpr std::size_t kMostParts = 5;

// Joins the parts (up to the first null) into path; false when they do not fit whole, since a
// cut path could name some other file.
bool Join(char* path, const char* const (&parts)[kMostParts]) {
    path[0] = '\0';
    for (const char* part : parts) {
        if (part == nullptr) {
            break;
        }
        if (BoundedAppend(path, kPathCapacity, part) != S_OK) {
            return false;
        }
    }
    return true;
}

bool FoundInSdkFolder(char* path, const char* sampleName, const char* readme) {
    char sdkFolder[MAX_PATH];
    if (!ReadSdkSamplesPath(sdkFolder, MAX_PATH)) {
        return false;
    }
    return BoundedFormat(path, kPathCapacity, "%s\\C++\\%s\\%s", sdkFolder, sampleName, readme) ==
               S_OK &&
           Exists(path);
}

// The folders a sample's build usually sits beside: its own source folder under one of the
// sample groups, the build folder itself, and the two folders above it.
bool FoundNearExecutable(char* path, const char* readme) {
    const ExecutableLocation exe = FindExecutableLocation();
    char parent[MAX_PATH];
    BoundedCopy(parent, MAX_PATH, exe.folder);
    CutAtLast(parent, '\\');
    char grandparent[MAX_PATH];
    BoundedCopy(grandparent, MAX_PATH, parent);
    CutAtLast(grandparent, '\\');
    const char* base = exe.baseName;

    const char* const candidates[][kMostParts] = {
        {parent, "\\", base, "\\", readme},
        {parent, "\\BumpMapping\\", base, "\\", readme},
        {parent, "\\EnvMapping\\", base, "\\", readme},
        {parent, "\\Meshes\\", base, "\\", readme},
        {parent, "\\StencilBuffer\\", base, "\\", readme},
        {exe.folder, "\\", readme},
        {parent, "\\", readme},
        {grandparent, "\\", readme},
    };
    for (const auto& parts : candidates) {
        if (Join(path, parts) && Exists(path)) {
            return true;
        }
    }
    return false;
}

// The shell is looked up at run time, as a program that may run where it is missing would.
bool OpenWithShell(HWND window, const char* path) {
    const HMODULE shell = LoadLibraryA("shell32.dll");
    if (shell == nullptr) {
        return false;
    }
    bool opened = false;
    if (const FARPROC procedure = GetProcAddress(shell, "ShellExecuteA")) {
        const auto shellExecute = reinterpret_cast<ShellExecuteFunction>(procedure);
        const HINSTANCE result = shellExecute(window, "open", path, nullptr, nullptr, kShowNormal);
        opened = reinterpret_cast<INT_PTR>(result) > 32;
    }
    FreeLibrary(shell);
    return opened;
}

} // namespace

void OpenReadme(HWND window, const char* sampleName) {
    for (const char* readme : {"readme.htm", "readme.txt"}) {
        char path[kPathCapacity];
        const bool found = (sampleName != nullptr && FoundInSdkFolder(path, sampleName, readme)) ||
                           FoundNearExecutable(path, readme);
        if (found && OpenWithShell(window, path)) {
            return;
        }
    }
    MessageBoxA(window, "Could not find readme", "DirectX SDK Sample", MB_ICONWARNING);
}
