// Fuzzes the GUID text reader: any text either gives a GUID that writes back and reads back the
// same, or E_FAIL with an all-zero GUID. The writer gets heap destinations of exactly the fuzzed
// capacity, so a write past it trips AddressSanitizer.

#include "util/bounded_string.h"
#include "util/guid_text.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    GUID guid;
    std::memset(&guid, 0xAB, sizeof guid);
    const HRESULT read = GuidFromText(text.c_str(), &guid);
    if (read == E_FAIL) {
        if (guid != GUID{}) {
            std::abort();
        }
        return 0;
    }
    if (read != S_OK) {
        std::abort();
    }
    char written[kGuidTextLength + 1];
    if (GuidToText(guid, written, sizeof written) != S_OK ||
        std::string(written).size() != kGuidTextLength) {
        std::abort();
    }
    GUID again{};
    if (GuidFromText(written, &again) != S_OK || again != guid) {
        std::abort();
    }
    const int capacity = size > 0 ? data[0] % (kGuidTextLength + 2) + 1 : 1;
    std::vector<char> small(static_cast<std::size_t>(capacity));
    const HRESULT cut = GuidToText(guid, small.data(), capacity);
    if ((cut != S_OK && cut != kInsufficientBuffer) || small.back() != '\0') {
        std::abort();
    }
    return 0;
}
