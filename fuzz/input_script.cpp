// Keyboard scripts of any content: parsing never crashes, and whatever parses plays to its end.

#include "winapi/input_script.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto parsed = winapi::input::ParseInputScript(text);
    auto* script = std::get_if<winapi::input::InputScript>(&parsed);
    if (script == nullptr) {
        return 0;
    }
    // Play a bounded number of reads: counts may be huge.
    winapi::input::ScriptPlayer player(std::move(*script));
    std::array<std::uint8_t, 256> keys{};
    std::vector<std::string> captures;
    for (int read = 0; read < 1024 && player.Next(keys, captures); ++read) {
        captures.clear();
    }
    return 0;
}
