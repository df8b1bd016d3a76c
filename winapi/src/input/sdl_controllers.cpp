#include "input/controllers.h"

#include <SDL.h>
#include <map>

namespace winapi::input {
namespace {

// Half deflection: a resting or slightly worn stick presses nothing.
constexpr Sint16 kStickDeadZone = 16384;

struct ButtonKey {
    SDL_GameControllerButton button;
    BYTE key;
};

constexpr ButtonKey kButtonKeys[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, DIK_UP},     {SDL_CONTROLLER_BUTTON_DPAD_DOWN, DIK_DOWN},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, DIK_LEFT}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, DIK_RIGHT},
    {SDL_CONTROLLER_BUTTON_A, DIK_SPACE},        {SDL_CONTROLLER_BUTTON_B, DIK_B},
    {SDL_CONTROLLER_BUTTON_START, DIK_ESCAPE},   {SDL_CONTROLLER_BUTTON_BACK, DIK_ESCAPE},
};

class SdlControllers final : public Controllers {
public:
    ~SdlControllers() override {
        for (auto& [id, controller] : open_) {
            SDL_GameControllerClose(controller);
        }
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }

    void AddHeldKeys(std::array<BYTE, 256>& keys) override {
        SDL_GameControllerUpdate();
        FollowPlugging();
        for (auto& [id, controller] : open_) {
            AddKeysOf(controller, keys);
        }
    }

private:
    // Closes the controllers that were pulled out and opens the ones plugged in since last time.
    void FollowPlugging() {
        std::erase_if(open_, [](const auto& entry) {
            if (SDL_GameControllerGetAttached(entry.second)) {
                return false;
            }
            SDL_GameControllerClose(entry.second);
            return true;
        });
        const int count = SDL_NumJoysticks();
        for (int index = 0; index < count; ++index) {
            const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
            if (!SDL_IsGameController(index) || open_.contains(id)) {
                continue;
            }
            if (SDL_GameController* controller = SDL_GameControllerOpen(index)) {
                open_[id] = controller;
            }
        }
    }

    static void AddKeysOf(SDL_GameController* controller, std::array<BYTE, 256>& keys) {
        for (const ButtonKey& pair : kButtonKeys) {
            if (SDL_GameControllerGetButton(controller, pair.button)) {
                keys[pair.key] = 0x80;
            }
        }
        const Sint16 x = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
        const Sint16 y = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
        if (x <= -kStickDeadZone) {
            keys[DIK_LEFT] = 0x80;
        } else if (x >= kStickDeadZone) {
            keys[DIK_RIGHT] = 0x80;
        }
        if (y <= -kStickDeadZone) {
            keys[DIK_UP] = 0x80;
        } else if (y >= kStickDeadZone) {
            keys[DIK_DOWN] = 0x80;
        }
    }

    std::map<SDL_JoystickID, SDL_GameController*> open_;
};

} // namespace

std::unique_ptr<Controllers> MakeSdlControllers() {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        return nullptr;
    }
    // Their state is read at each keyboard read; events nobody takes would only pile up.
    SDL_GameControllerEventState(SDL_IGNORE);
    SDL_JoystickEventState(SDL_IGNORE);
    return std::make_unique<SdlControllers>();
}

} // namespace winapi::input
