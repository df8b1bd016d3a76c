// The keyboard and mouse of the SDL2 display.

#include "input/sources.h"

#include "input/key_map.h"
#include "input/mouse_wheel.h"

#include <SDL.h>

namespace winapi::input {
namespace {

class SdlKeys final : public KeySource {
public:
    void Read(std::array<BYTE, 256>& keys) override {
        keys.fill(0);
        SDL_PumpEvents();
        int count = 0;
        const Uint8* state = SDL_GetKeyboardState(&count);
        for (int scancode = 0; scancode < count; ++scancode) {
            if (std::uint8_t key = KeyCodeForScancode(scancode); state[scancode] && key != 0) {
                keys[key] = 0x80;
            }
        }
    }
};

class SdlMouse final : public MouseSource {
public:
    void Read(DIMOUSESTATE& state) override {
        SDL_PumpEvents();
        int dx = 0;
        int dy = 0;
        Uint32 buttons = SDL_GetRelativeMouseState(&dx, &dy);
        state.lX = dx;
        state.lY = dy;
        state.lZ = TakeWheelMovement();
        const Uint32 masks[4] = {SDL_BUTTON_LMASK, SDL_BUTTON_RMASK, SDL_BUTTON_MMASK,
                                 SDL_BUTTON_X1MASK};
        for (int i = 0; i < 4; ++i) {
            state.rgbButtons[i] = (buttons & masks[i]) ? 0x80 : 0;
        }
    }

    void Capture(bool exclusive) override {
        SDL_SetRelativeMouseMode(exclusive ? SDL_TRUE : SDL_FALSE);
        // Movement from before the device was acquired does not count.
        SDL_GetRelativeMouseState(nullptr, nullptr);
        TakeWheelMovement();
    }
};

} // namespace

std::unique_ptr<KeySource> MakeSdlKeySource(HWND) {
    return std::make_unique<SdlKeys>();
}

std::unique_ptr<MouseSource> MakeSdlMouseSource(HWND) {
    return std::make_unique<SdlMouse>();
}

} // namespace winapi::input
