#pragma once
// Game controllers as part of the keyboard: through SDL2's game controller API, the d-pad and the
// left stick hold the arrow keys, the south button Space, the east button B, and Start and Back
// Escape. Controllers are looked for at every read, so they can be plugged in and out at any time.

#include <array>
#include <dinput.h>
#include <memory>

namespace winapi::input {

class Controllers {
public:
    virtual ~Controllers() = default;
    // Sets 0x80 in `keys` for each key a controller holds; leaves the other keys as they are.
    virtual void AddHeldKeys(std::array<BYTE, 256>& keys) = 0;
};

using ControllersFactory = std::unique_ptr<Controllers> (*)();

// Every controller plugged in. Null when SDL2's game controller subsystem cannot be started.
std::unique_ptr<Controllers> MakeSdlControllers();

// The SDL2 controllers while the input hook lets controllers take part in a headless run; none
// before that.
std::unique_ptr<Controllers> MakeHookedControllers();

} // namespace winapi::input
