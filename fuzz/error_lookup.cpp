// Feeds arbitrary codes and texts to the lookups and the trace: every lookup must return a
// terminated constant text, and TraceError must hand back its result for any file and message.

#include "errors/error_names.h"
#include "errors/error_trace.h"
#include "winapi/hooks/debug.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

template <typename Char> void CheckText(const Char* text) {
    if (text == nullptr || std::char_traits<Char>::length(text) == 0) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::vector<std::string> pieces;
    static const bool quiet = [] {
        winapi::hooks::CaptureDebugOutput(&pieces);
        winapi::hooks::SetMessageBoxHandler(
            [](HWND, std::string_view, std::string_view, UINT) { return IDNO; });
        return true;
    }();
    (void)quiet;
    pieces.clear();

    std::uint32_t code = 0;
    std::memcpy(&code, data, std::min(size, sizeof code));
    const auto result = static_cast<HRESULT>(code);
    CheckText(ErrorName(result));
    CheckText(ErrorNameW(result));
    CheckText(ErrorDescription(result));
    CheckText(ErrorDescriptionW(result));

    // The rest of the input, split in two, is the file name and the message.
    const std::string_view rest(reinterpret_cast<const char*>(data) + std::min(size, sizeof code),
                                size - std::min(size, sizeof code));
    const std::string file(rest.substr(0, rest.size() / 2));
    const std::string message(rest.substr(rest.size() / 2));
    const std::u16string wideMessage(message.begin(), message.end());
    const BOOL box = (code & 1) != 0;
    if (TraceError(file.c_str(), code, result, message.c_str(), box) != result ||
        TraceErrorW(file.c_str(), code, result, wideMessage.c_str(), box) != result) {
        std::abort();
    }
    return 0;
}
