#include "util/debug_print.h"

#include "util/bounded_string.h"

#include <cstdarg>

namespace {

constexpr std::size_t kTextCapacity = 512;

} // namespace

void DebugPrint(const char* format, ...) {
    if (format == nullptr) {
        return;
    }
    char text[kTextCapacity];
    text[0] = '\0';
    va_list args;
    va_start(args, format);
    BoundedFormatV(text, kTextCapacity, format, args);
    va_end(args);
    OutputDebugStringA(text);
}
