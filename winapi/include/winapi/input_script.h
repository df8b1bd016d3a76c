#pragma once
// Keyboard scripts for scripted runs. Each line is `COUNT [KEY ...]`: COUNT frames (keyboard reads)
// in which exactly the listed key codes (decimal) are down, or `capture NAME.png`: save the next
// presented frame under that name in the working folder, or `close`: the window is asked to close
// (WM_CLOSE) during the keyboard read of the frame before, as when a player closes it; the frames
// after it, if any, are played while the program shuts down. `#` starts a comment. When the script
// runs out, every key is up and the window is asked to close.
// Ours, not the platform's: the scripted keyboard reads the file that WINAPI_INPUT_SCRIPT names.
// Self-contained (standard library only).

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace winapi::input {

inline constexpr const char* kScriptVariable = "WINAPI_INPUT_SCRIPT";

struct ScriptStep {
    std::uint32_t frames = 0; // 0 for a capture or a close
    std::bitset<256> keys;
    std::string capture;
    bool close = false;
};

struct InputScript {
    std::vector<ScriptStep> steps;
};

struct ScriptError {
    int line = 0;
    std::string reason;
};

inline constexpr std::uint32_t kMaxScriptFrames = 1000000000;

std::variant<InputScript, ScriptError> ParseInputScript(std::string_view text);

// Plays a script one keyboard read at a time.
class ScriptPlayer {
public:
    explicit ScriptPlayer(InputScript script) : script_(std::move(script)) {}

    // Fills the next snapshot (0x80 for each key down) and adds the names of the captures met on
    // the way. False once the script has run out; every key is up from then on.
    bool Next(std::array<std::uint8_t, 256>& keys, std::vector<std::string>& captures);
    // Whether a `close` has been met: right after the frame before it, or at the first read when
    // no frame comes before it.
    bool CloseReached() const { return closeReached_; }

private:
    // Takes the captures and closes that stand next, up to the next frame.
    void PassMarks(std::vector<std::string>* captures);

    InputScript script_;
    std::size_t step_ = 0;
    std::uint32_t framesPlayed_ = 0;
    bool closeReached_ = false;
};

} // namespace winapi::input
