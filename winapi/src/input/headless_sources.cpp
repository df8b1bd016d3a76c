// The keyboard, mouse and controllers of headless runs: whatever the input hooks have set.

#include "input/controllers.h"
#include "input/sources.h"
#include "input/test_controls.h"

namespace winapi::input {
namespace {

class HeadlessKeys final : public KeySource {
public:
    void Read(std::array<BYTE, 256>& keys) override { keys = HeadlessKeyboardState(); }
};

class HeadlessMouse final : public MouseSource {
public:
    void Read(DIMOUSESTATE& state) override { state = TakeHeadlessMouseState(); }
    void Capture(bool) override {}
};

// SDL2's controllers (a test's virtual ones), started when the hook lets them in and stopped when
// it takes them out again.
class HookedControllers final : public Controllers {
public:
    void AddHeldKeys(std::array<BYTE, 256>& keys) override {
        if (!headlessControllers) {
            sdl_.reset();
            return;
        }
        if (!sdl_) {
            sdl_ = MakeSdlControllers();
        }
        if (sdl_) {
            sdl_->AddHeldKeys(keys);
        }
    }

private:
    std::unique_ptr<Controllers> sdl_;
};

} // namespace

std::unique_ptr<Controllers> MakeHookedControllers() {
    return std::make_unique<HookedControllers>();
}

std::unique_ptr<KeySource> MakeHeadlessKeySource(HWND) {
    return std::make_unique<HeadlessKeys>();
}

std::unique_ptr<MouseSource> MakeHeadlessMouseSource(HWND) {
    return std::make_unique<HeadlessMouse>();
}

} // namespace winapi::input
