#include "util/executable_location.h"

#include "util/bounded_string.h"
#include "util/path_text.h"

ExecutableLocation FindExecutableLocation() {
    ExecutableLocation location{};
    if (GetModuleFileNameA(nullptr, location.folder, MAX_PATH) == 0) {
        location.folder[0] = '\0';
    }
    location.folder[MAX_PATH - 1] = '\0';
    if (char* separator = FindLast(location.folder, '\\')) {
        BoundedCopy(location.baseName, MAX_PATH, separator + 1);
        CutAtLast(location.baseName, '.');
        *separator = '\0';
    }
    return location;
}
