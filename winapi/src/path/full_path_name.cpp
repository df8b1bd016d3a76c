// GetFullPathNameA: resolution by text only; the file system is not asked.

#include "path/platform_path.h"
#include "winapi/fileapi.h"

#include <cstring>

DWORD GetFullPathNameA(LPCSTR fileName, DWORD bufferLength, LPSTR buffer, LPSTR* filePart) {
    if (fileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::optional<winapi::path::FullPath> full = winapi::path::MakeFull(fileName);
    if (!full) {
        SetLastError(*fileName == '\0' ? ERROR_INVALID_NAME : ERROR_PATH_NOT_FOUND);
        return 0;
    }
    const auto length = static_cast<DWORD>(full->text.size());
    if (buffer == nullptr || bufferLength <= length) {
        return length + 1;
    }
    std::memcpy(buffer, full->text.c_str(), length + 1);
    if (filePart != nullptr) {
        *filePart =
            full->finalComponent == std::string::npos ? nullptr : buffer + full->finalComponent;
    }
    return length;
}
