// The DirectInput 8 object, its identifiers and the predefined data formats.

#include "input/device.h"
#include "input/test_controls.h"

#include <windows.h>

const GUID GUID_SysMouse = {
    0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_SysKeyboard = {
    0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const IID IID_IDirectInput8A = {
    0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
const IID IID_IDirectInput8W = {
    0xBF798031, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};

// The devices check a format by its sizes and flags; the object lists are not needed for that.
const DIDATAFORMAT c_dfDIKeyboard = {
    sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), 0, 256, 0, nullptr};
const DIDATAFORMAT c_dfDIMouse = {sizeof(DIDATAFORMAT),
                                  sizeof(DIOBJECTDATAFORMAT),
                                  DIDF_RELAXIS,
                                  sizeof(DIMOUSESTATE),
                                  0,
                                  nullptr};

namespace winapi::input {
namespace {

class DirectInput final : public RefCounted<IDirectInput8A> {
public:
    HRESULT CreateDevice(REFGUID device, LPDIRECTINPUTDEVICE8A* created, LPUNKNOWN outer) override {
        if (created == nullptr) {
            return DIERR_INVALIDPARAM;
        }
        *created = nullptr;
        if (outer != nullptr) {
            return DIERR_NOAGGREGATION;
        }
        Device::Kind kind{};
        hooks::InputCall call{};
        if (device == GUID_SysKeyboard) {
            kind = Device::Kind::Keyboard;
            call = hooks::InputCall::CreateKeyboard;
        } else if (device == GUID_SysMouse) {
            kind = Device::Kind::Mouse;
            call = hooks::InputCall::CreateMouse;
        } else {
            return DIERR_DEVICENOTREG;
        }
        if (const HRESULT failure = InjectedFailure(call)) {
            return failure;
        }
        *created = new Device(kind);
        return DI_OK;
    }
};

} // namespace
} // namespace winapi::input

HRESULT WINAPI DirectInput8Create(HINSTANCE instance, DWORD version, REFIID interfaceId,
                                  LPVOID* created, LPUNKNOWN outer) {
    if (created == nullptr) {
        return DIERR_INVALIDPARAM;
    }
    *created = nullptr;
    if (outer != nullptr) {
        return DIERR_NOAGGREGATION;
    }
    if (instance == nullptr) {
        return DIERR_INVALIDPARAM;
    }
    if (version < 0x0800) {
        return DIERR_OLDDIRECTINPUTVERSION;
    }
    if (version > 0x0800) {
        return DIERR_BETADIRECTINPUTVERSION;
    }
    if (interfaceId != IID_IDirectInput8A) {
        return DIERR_NOINTERFACE;
    }
    using winapi::hooks::InputCall;
    if (const HRESULT failure = winapi::input::InjectedFailure(InputCall::DirectInput8Create)) {
        return failure;
    }
    *created = static_cast<IDirectInput8A*>(new winapi::input::DirectInput());
    return DI_OK;
}
