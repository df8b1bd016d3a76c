// The registry's file reader over arbitrary bytes: it must refuse or accept without fault, and
// whatever it accepts must write back to a file that reads as the same content.

#include "winapi/src/registry/hive_format.h"

#include <cstdint>
#include <cstring>

namespace {

using namespace winapi::registry;

void CheckAccepted(const std::optional<Hive>& hive) {
    if (!hive) {
        return;
    }
    const std::optional<Hive> again = ParseHive(SerializeHive(*hive));
    if (!again || !(*again == *hive)) {
        __builtin_trap();
    }
    // An accepted content must stay consistent under the edits that writes make.
    Hive edited = *hive;
    for (const auto& [folded, key] : hive->Keys()) {
        edited.SubkeyNames(key.path);
        if (!edited.HasSubkeys(key.path) && !key.path.empty()) {
            edited.Remove(key.path);
            break;
        }
    }
    edited.Create("Added\\Below");
    if (!ParseHive(SerializeHive(edited))) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckAccepted(ParseHive(std::span<const BYTE>(data, size)));
    // Random bytes almost never carry a right checksum; put one in so the records are explored.
    if (size >= 4) {
        std::vector<BYTE> sealed(data, data + size);
        const std::uint32_t checksum = HiveChecksum(std::span(sealed).first(size - 4));
        for (int i = 0; i < 4; ++i) {
            sealed[size - 4 + i] = static_cast<BYTE>(checksum >> (8 * i));
        }
        CheckAccepted(ParseHive(sealed));
    }
    return 0;
}
