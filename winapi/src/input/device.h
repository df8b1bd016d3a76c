#pragma once
// A DirectInput device: the system keyboard or the system mouse, read by polling.

#include "graphics/ref_counted.h"
#include "input/controllers.h"
#include "input/sources.h"

#include <dinput.h>
#include <memory>

namespace winapi::input {

class Device final : public RefCounted<IDirectInputDevice8A> {
public:
    enum class Kind { Keyboard, Mouse };

    explicit Device(Kind kind) : kind_(kind) {}
    ~Device() override;

    HRESULT SetDataFormat(LPCDIDATAFORMAT format) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT Acquire() override;
    HRESULT Unacquire() override;
    HRESULT GetDeviceState(DWORD size, LPVOID data) override;

private:
    Kind kind_;
    LPCDIDATAFORMAT format_ = nullptr;
    HWND window_ = nullptr;
    DWORD cooperation_ = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
    bool acquired_ = false;
    // Made at the first acquisition and kept, so that a script goes on where it was.
    std::unique_ptr<KeySource> keys_;
    std::unique_ptr<Controllers> controllers_; // their keys join the keyboard's
    std::unique_ptr<MouseSource> mouse_;
};

} // namespace winapi::input
