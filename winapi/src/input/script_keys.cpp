// The keyboard of a scripted run: snapshots from a script file, captures passed to the graphics
// stand-in, and WM_CLOSE to the window at a `close` or when the script has run out.

#include "graphics/capture.h"
#include "input/sources.h"
#include "winapi/input_script.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <windows.h>

namespace winapi::input {
namespace {

constexpr std::uintmax_t kMaxScriptBytes = 16 * 1024 * 1024;

class ScriptKeys final : public KeySource {
public:
    ScriptKeys(InputScript script, HWND window) : player_(std::move(script)), window_(window) {}

    void Read(std::array<BYTE, 256>& keys) override {
        std::vector<std::string> captures;
        bool playing = player_.Next(keys, captures);
        for (auto& name : captures) {
            graphics::RequestCapture(std::move(name));
        }
        if ((!playing || player_.CloseReached()) && !closePosted_) {
            closePosted_ = true;
            PostMessageA(IsWindow(window_) ? window_ : GetForegroundWindow(), WM_CLOSE, 0, 0);
        }
    }

private:
    ScriptPlayer player_;
    HWND window_;
    bool closePosted_ = false;
};

bool ReadWholeFile(const char* path, std::string& text) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) ||
        std::filesystem::file_size(path, error) > kMaxScriptBytes || error) {
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    text = contents.str();
    return file.good() || file.eof();
}

} // namespace

std::unique_ptr<KeySource> MakeScriptKeySource(HWND window) {
    const char* path = std::getenv(kScriptVariable);
    std::string text;
    if (path == nullptr || !ReadWholeFile(path, text)) {
        std::fprintf(stderr,
                     "WINAPI_INPUT_SCRIPT: cannot read %s (missing, unreadable or over 16 MiB); "
                     "the keyboard is not set up\n",
                     path != nullptr ? path : "(unset)");
        return nullptr;
    }
    auto parsed = ParseInputScript(text);
    if (const auto* error = std::get_if<ScriptError>(&parsed)) {
        std::fprintf(stderr, "WINAPI_INPUT_SCRIPT: %s:%d: %s; the keyboard is not set up\n", path,
                     error->line, error->reason.c_str());
        return nullptr;
    }
    return std::make_unique<ScriptKeys>(std::get<InputScript>(std::move(parsed)), window);
}

} // namespace winapi::input
