#include "input/device.h"

#include "input/recorder.h"
#include "input/test_controls.h"
#include "profile/backends.h"

#include <cstring>
#include <windows.h>

namespace winapi::input {
namespace {

bool ExactlyOne(DWORD flags, DWORD first, DWORD second) {
    return ((flags & first) != 0) != ((flags & second) != 0);
}

} // namespace

Device::~Device() {
    Unacquire();
}

HRESULT Device::SetDataFormat(LPCDIDATAFORMAT format) {
    const DIDATAFORMAT& expected = kind_ == Kind::Keyboard ? c_dfDIKeyboard : c_dfDIMouse;
    if (acquired_) {
        return DIERR_ACQUIRED;
    }
    if (format == nullptr || format->dwSize != sizeof(DIDATAFORMAT) ||
        format->dwDataSize != expected.dwDataSize || format->dwFlags != expected.dwFlags) {
        return DIERR_INVALIDPARAM;
    }
    if (const HRESULT failure = InjectedFailure(hooks::InputCall::SetDataFormat)) {
        return failure;
    }
    format_ = format;
    return DI_OK;
}

HRESULT Device::SetCooperativeLevel(HWND window, DWORD flags) {
    constexpr DWORD known =
        DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND | DISCL_NOWINKEY;
    if (acquired_) {
        return DIERR_ACQUIRED;
    }
    if ((flags & ~known) != 0 || !ExactlyOne(flags, DISCL_EXCLUSIVE, DISCL_NONEXCLUSIVE) ||
        !ExactlyOne(flags, DISCL_FOREGROUND, DISCL_BACKGROUND)) {
        return DIERR_INVALIDPARAM;
    }
    if (const HRESULT failure = InjectedFailure(hooks::InputCall::SetCooperativeLevel)) {
        return failure;
    }
    if (!IsWindow(window)) {
        return E_HANDLE;
    }
    window_ = window;
    cooperation_ = flags;
    return DI_OK;
}

HRESULT Device::Acquire() {
    if (format_ == nullptr) {
        return DIERR_INVALIDPARAM;
    }
    if (acquired_) {
        return DI_NOEFFECT;
    }
    if (const HRESULT failure = InjectedFailure(hooks::InputCall::Acquire)) {
        return failure;
    }
    if (kind_ == Kind::Keyboard) {
        if (!keys_) {
            const profile::BackendSet backends = profile::Backends();
            keys_ = backends.keyboard(window_);
            controllers_ = backends.controllers != nullptr ? backends.controllers() : nullptr;
        }
        if (!keys_) {
            return DIERR_NOTFOUND; // the script could not be used; the reason is on stderr
        }
    } else {
        if (!mouse_) {
            mouse_ = profile::Backends().mouse(window_);
        }
        mouse_->Capture((cooperation_ & DISCL_EXCLUSIVE) != 0);
    }
    acquired_ = true;
    return DI_OK;
}

HRESULT Device::Unacquire() {
    if (!acquired_) {
        return DI_NOEFFECT;
    }
    acquired_ = false;
    if (mouse_) {
        mouse_->Capture(false);
    }
    return DI_OK;
}

HRESULT Device::GetDeviceState(DWORD size, LPVOID data) {
    if (data == nullptr) {
        return DIERR_INVALIDPARAM;
    }
    if (!acquired_) {
        return DIERR_NOTACQUIRED;
    }
    if (size != format_->dwDataSize) {
        return DIERR_INVALIDPARAM;
    }
    if (kind_ == Kind::Keyboard) {
        std::array<BYTE, 256> keys{};
        keys_->Read(keys);
        if (controllers_) {
            controllers_->AddHeldKeys(keys);
        }
        RecordKeyboardRead(keys);
        std::memcpy(data, keys.data(), keys.size());
    } else {
        DIMOUSESTATE state{};
        mouse_->Read(state);
        std::memcpy(data, &state, sizeof state);
    }
    return DI_OK;
}

} // namespace winapi::input
