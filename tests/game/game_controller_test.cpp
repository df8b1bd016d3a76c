// A game controller (SDL2's virtual one) plugged in while the game runs drives the biker frame for
// frame as the keys do: the same ride once with keys and once with the controller logs the same
// lines, and pulling the controller out lets go of what it held.

#include "game_session.h"
#include "platform/platform_state.h"
#include "sound/sound_clip.h"

#include <SDL.h>
#include <dinput.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

class VirtualController {
public:
    VirtualController() {
        index_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                           SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
        joystick_ = index_ >= 0 ? SDL_JoystickOpen(index_) : nullptr;
    }
    ~VirtualController() { Unplug(); }
    VirtualController(const VirtualController&) = delete;
    VirtualController& operator=(const VirtualController&) = delete;

    bool Plugged() const { return joystick_ != nullptr; }
    void Press(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
    }
    void Tilt(Sint16 x, Sint16 y) {
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, x);
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTY, y);
    }
    void Unplug() {
        if (joystick_ != nullptr) {
            SDL_JoystickClose(joystick_);
            SDL_JoystickDetachVirtual(index_);
            joystick_ = nullptr;
        }
    }

private:
    int index_ = -1;
    SDL_Joystick* joystick_ = nullptr;
};

// A stretch of the ride: frames with keyboard keys down, and what the controller does at its start
// in the controller's ride (its keys are then held by the controller instead).
struct Stretch {
    int frames;
    std::vector<BYTE> keyboard;       // held in both rides
    std::vector<BYTE> controllerKeys; // the keys the controller stands for, in the keys' ride
    std::function<void(VirtualController&)> controller;
};

class GameControllerTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError(); }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_JOYSTICK); }

    // Each frame's log lines, keyboard snapshot, waiting messages and whether the hit sounded.
    static std::vector<std::string> Ride(const std::vector<Stretch>& stretches, bool controller) {
        GameSession game;
        EXPECT_TRUE(game.platformReady);
        EXPECT_EQ(game.Start(), 1);
        winapi::hooks::UseGameControllers(controller);
        std::unique_ptr<VirtualController> pad;
        std::vector<std::string> frames;
        for (const Stretch& stretch : stretches) {
            std::vector<BYTE> held = stretch.keyboard;
            if (controller) {
                if (!pad) {
                    pad = std::make_unique<VirtualController>();
                    EXPECT_TRUE(pad->Plugged()) << SDL_GetError();
                }
                stretch.controller(*pad);
            } else {
                held.insert(held.end(), stretch.controllerKeys.begin(),
                            stretch.controllerKeys.end());
            }
            for (int frame = 0; frame < stretch.frames; ++frame) {
                std::array<BYTE, 256> state{};
                for (BYTE key : held) {
                    state[key] = 0x80;
                }
                winapi::hooks::SetKeyboardState(state);
                Game_Frame(game.window);
                std::string record;
                for (const std::string& line : game.log.TakeLines()) {
                    record += line + "; ";
                }
                record += "keys";
                for (int key = 0; key < 256; ++key) {
                    record += (::keys[key] & 0x80) ? " " + std::to_string(key) : "";
                }
                record += "; messages " + std::to_string(winapi::hooks::QueuedMessageCount());
                record += hitSound->IsPlaying() ? " hit" : "";
                hitSound->Stop();
                frames.push_back(record);
            }
        }
        return frames;
    }
};

TEST_F(GameControllerTest, RidesFrameForFrameAsTheKeysAndLetsGoWhenUnplugged) {
    using VC = VirtualController;
    const std::vector<Stretch> ride = {
        {40, {}, {}, [](VC&) {}}, // plugged in while the biker falls and lands
        {30, {}, {DIK_RIGHT}, [](VC& pad) { pad.Press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true); }},
        {1, {}, {DIK_RIGHT, DIK_SPACE}, [](VC& pad) { pad.Press(SDL_CONTROLLER_BUTTON_A, true); }},
        {20, {}, {DIK_RIGHT}, [](VC& pad) { pad.Press(SDL_CONTROLLER_BUTTON_A, false); }},
        {3, {}, {DIK_RIGHT, DIK_B}, [](VC& pad) { pad.Press(SDL_CONTROLLER_BUTTON_B, true); }},
        // The stick alone, past half deflection; a stick within it presses nothing.
        {20,
         {},
         {DIK_RIGHT},
         [](VC& pad) {
             pad.Press(SDL_CONTROLLER_BUTTON_B, false);
             pad.Press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
             pad.Tilt(30000, 0);
         }},
        {15, {}, {}, [](VC& pad) { pad.Tilt(12000, -12000); }},
        {25, {}, {DIK_LEFT, DIK_DOWN}, [](VC& pad) { pad.Tilt(-32768, 20000); }},
        // Keyboard and controller together: Right on the keyboard wins over Left on the stick.
        {10, {DIK_RIGHT}, {DIK_LEFT, DIK_DOWN}, [](VC&) {}},
        {5, {}, {DIK_UP}, [](VC& pad) { pad.Tilt(0, -32768); }},
        {5,
         {},
         {DIK_UP, DIK_LEFT},
         [](VC& pad) { pad.Press(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true); }},
        // Pulled out while tilted and held: every key is up again.
        {10, {}, {}, [](VC& pad) { pad.Unplug(); }},
    };
    const auto withKeys = Ride(ride, false);
    const auto withController = Ride(ride, true);
    ASSERT_EQ(withController.size(), withKeys.size());
    for (std::size_t frame = 0; frame < withKeys.size(); ++frame) {
        ASSERT_EQ(withController[frame], withKeys[frame]) << "frame " << frame + 1;
    }
}

TEST_F(GameControllerTest, StartAndBackAskToQuitAsEscapeDoes) {
    for (SDL_GameControllerButton button :
         {SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_BACK}) {
        GameSession game;
        ASSERT_EQ(game.Start(), 1);
        winapi::hooks::UseGameControllers(true);
        VirtualController pad;
        ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
        game.Frame();
        EXPECT_EQ(winapi::hooks::QueuedMessageCount(), 0u);
        pad.Press(button, true);
        game.Frames(3);
        EXPECT_EQ(winapi::hooks::QueuedMessageCount(), 1u) << "button " << button;
    }
}

} // namespace
