// The keyboard and mouse of headless runs: whatever the input hooks have set.

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

} // namespace

std::unique_ptr<KeySource> MakeHeadlessKeySource(HWND) {
    return std::make_unique<HeadlessKeys>();
}

std::unique_ptr<MouseSource> MakeHeadlessMouseSource(HWND) {
    return std::make_unique<HeadlessMouse>();
}

} // namespace winapi::input
