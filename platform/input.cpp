#include "platform/input.h"

#include "platform/platform_state.h"

namespace {
constexpr BYTE downBit = 0x80;
} // namespace

int Init_DirectInput(HWND) {
    if (FAILED(DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION,
                                  IID_IDirectInput8A, reinterpret_cast<void**>(&dinputObject),
                                  nullptr))) {
        Log << "DirectInput8Create failed \n";
        return 0;
    }
    if (FAILED(dinputObject->CreateDevice(GUID_SysMouse, &mouseDevice, nullptr))) {
        Log << "DirectInput CreateDevice Mouse failed\n";
        return 0;
    }
    if (FAILED(dinputObject->CreateDevice(GUID_SysKeyboard, &keyboardDevice, nullptr))) {
        Log << "DirectInput CreateDevice Keyboard failed\n";
        return 0;
    }
    Log << "DirectInput Initialized\n";
    return 1;
}

int Init_Mouse(HWND window) {
    if (FAILED(mouseDevice->SetDataFormat(&c_dfDIMouse))) {
        Log << "Init_mouse SetDataFormat failed\n";
        return 0;
    }
    if (FAILED(mouseDevice->SetCooperativeLevel(window, DISCL_EXCLUSIVE | DISCL_FOREGROUND))) {
        Log << "Init_Mouse SetCooperativeLevel failed\n";
        return 0;
    }
    if (FAILED(mouseDevice->Acquire())) {
        Log << "Init_mouse Acquire failed\n";
        return 0;
    }
    Log << "Mouse Initialized\n";
    return 1;
}

int Init_Keyboard(HWND window) {
    if (FAILED(keyboardDevice->SetDataFormat(&c_dfDIKeyboard))) {
        Log << "Init_Keyboard SetDataFormat failed\n";
        return 0;
    }
    if (FAILED(
            keyboardDevice->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND))) {
        Log << "Init_Keyboard SetCooperativeLevel failed\n";
        return 0;
    }
    if (FAILED(keyboardDevice->Acquire())) {
        Log << "Init_Keyboard Acquire failed\n";
        return 0;
    }
    Log << "Keyboard Initialized\n";
    return 1;
}

void Read_Mouse() {
    mouseDevice->GetDeviceState(sizeof(mouseState), &mouseState);
}

void Read_Keyboard() {
    keyboardDevice->GetDeviceState(sizeof(keys), keys);
}

// Codes outside the snapshot read as up rather than past its end.
int Is_Key_Down(int key) {
    return key >= 0 && key < 256 ? keys[key] & downBit : 0;
}

int Mouse_X() {
    return mouseState.lX;
}

int Mouse_Y() {
    return mouseState.lY;
}

int Mouse_Button(int button) {
    return button >= 0 && button < 4 ? mouseState.rgbButtons[button] & downBit : 0;
}

void Release_Mouse() {
    if (mouseDevice != nullptr) {
        mouseDevice->Unacquire();
        mouseDevice->Release();
        mouseDevice = nullptr;
    }
    Log << "Mouse Object Released\n";
}

void Release_Keyboard() {
    if (keyboardDevice != nullptr) {
        keyboardDevice->Unacquire();
        keyboardDevice->Release();
        keyboardDevice = nullptr;
    }
    Log << "Keyboard objects released\n";
}
