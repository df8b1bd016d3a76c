// The module services: the executable and the built-in libraries, with load counts.

#include "module/executable_path.h"
#include "winapi/libloader.h"
#include "winapi/shellapi.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>

namespace {

struct Export {
    const char* name;
    FARPROC address;
};

struct Library {
    const char* fileName; // lower case, with its extension
    const char* platformPath;
    Export exports[1];
    int loadCount;
};

Library libraries[] = {
    {"shell32.dll",
     "C:\\Windows\\System32\\shell32.dll",
     {{"ShellExecuteA", reinterpret_cast<FARPROC>(&ShellExecuteA)}},
     0},
};

// A distinct address stands for the executable's module.
char executableModule;

std::mutex tableMutex;

HMODULE HandleOf(Library& library) {
    return reinterpret_cast<HMODULE>(&library);
}
HMODULE ExecutableHandle() {
    return reinterpret_cast<HMODULE>(&executableModule);
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::string_view BaseName(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

// The platform's rule for library names: no extension means ".dll", a final '.' means none.
std::string LibraryFileName(std::string_view name) {
    std::string base = Lower(BaseName(name));
    if (!base.empty() && base.back() == '.') {
        base.pop_back();
    } else if (base.find('.') == std::string::npos) {
        base += ".dll";
    }
    return base;
}

Library* FindByName(std::string_view name) {
    const std::string fileName = LibraryFileName(name);
    for (Library& library : libraries) {
        if (fileName == library.fileName) {
            return &library;
        }
    }
    return nullptr;
}

Library* FindLoaded(HMODULE module) {
    for (Library& library : libraries) {
        if (HandleOf(library) == module && library.loadCount > 0) {
            return &library;
        }
    }
    return nullptr;
}

bool NamesExecutable(std::string_view name) {
    const std::string wanted = Lower(BaseName(name));
    const std::string own = Lower(BaseName(winapi::module::ExecutablePath()));
    return !own.empty() && (wanted == own || wanted == own + ".exe");
}

DWORD CopyFileName(const std::string& path, LPSTR fileName, DWORD size) {
    if (size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (path.size() >= size) {
        std::memcpy(fileName, path.data(), size - 1);
        fileName[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(fileName, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

} // namespace

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    if (fileName == nullptr && size > 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string path;
    if (module == nullptr || module == ExecutableHandle()) {
        path = winapi::module::ExecutablePath();
    } else {
        std::lock_guard lock(tableMutex);
        if (const Library* library = FindLoaded(module)) {
            path = library->platformPath;
        }
    }
    if (path.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    return CopyFileName(path, fileName, size);
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName == nullptr) {
        return ExecutableHandle();
    }
    {
        std::lock_guard lock(tableMutex);
        Library* library = FindByName(moduleName);
        if (library != nullptr && library->loadCount > 0) {
            return HandleOf(*library);
        }
    }
    if (NamesExecutable(moduleName)) {
        return ExecutableHandle();
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

HMODULE LoadLibraryA(LPCSTR fileName) {
    if (fileName == nullptr || *fileName == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    {
        std::lock_guard lock(tableMutex);
        if (Library* library = FindByName(fileName)) {
            ++library->loadCount;
            return HandleOf(*library);
        }
    }
    if (NamesExecutable(fileName)) {
        return ExecutableHandle();
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    // A value below 0x10000 is an export ordinal, not a name; the built-ins export no ordinals.
    const bool byOrdinal = reinterpret_cast<std::uintptr_t>(procName) < 0x10000;
    std::lock_guard lock(tableMutex);
    if (module == nullptr || module == ExecutableHandle()) {
        SetLastError(ERROR_PROC_NOT_FOUND); // the executable exports nothing
        return nullptr;
    }
    const Library* library = FindLoaded(module);
    if (library == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    if (!byOrdinal) {
        for (const Export& entry : library->exports) {
            if (std::strcmp(entry.name, procName) == 0) {
                return entry.address;
            }
        }
    }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

BOOL FreeLibrary(HMODULE module) {
    if (module == ExecutableHandle()) {
        return TRUE;
    }
    std::lock_guard lock(tableMutex);
    Library* library = FindLoaded(module);
    if (library == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    --library->loadCount;
    return TRUE;
}
