// The registry's file reader over arbitrary bytes: it must refuse or accept without fault, and
// whatever it accepts must write back to a file that reads as the same content.

#include "winapi/hooks/registry.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!winapi::hooks::RegistryFileReadsConsistently(std::span(data, size))) {
        __builtin_trap();
    }
    return 0;
}
