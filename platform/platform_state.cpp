#include "platform/platform_state.h"

#include "sound/sound_device.h"

#include <iostream>

std::ostream Log(std::cerr.rdbuf());

namespace {
// Every insertion is flushed at once, so a crash never loses a line already written.
[[maybe_unused]] const bool logIsUnitBuffered = (Log.setf(std::ios::unitbuf), true);
} // namespace

IDirect3D9* d3dObject = nullptr;
IDirect3DDevice9* d3dDevice = nullptr;
IDirect3DSurface9* backBuffer = nullptr;
ID3DXSprite* spriteHandler = nullptr;

IDirectInput8A* dinputObject = nullptr;
IDirectInputDevice8A* keyboardDevice = nullptr;
IDirectInputDevice8A* mouseDevice = nullptr;
BYTE keys[256] = {};
DIMOUSESTATE mouseState = {};

SoundDevice* soundDevice = nullptr;

namespace {

template <typename Interface> void ReleaseAndForget(Interface*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

void UnacquireAndForget(IDirectInputDevice8A*& device) {
    if (device != nullptr) {
        device->Unacquire();
    }
    ReleaseAndForget(device);
}

} // namespace

void ResetPlatformState() {
    UnacquireAndForget(keyboardDevice);
    UnacquireAndForget(mouseDevice);
    ReleaseAndForget(dinputObject);
    ReleaseAndForget(spriteHandler);
    ReleaseAndForget(backBuffer);
    ReleaseAndForget(d3dDevice);
    ReleaseAndForget(d3dObject);
    delete soundDevice;
    soundDevice = nullptr;
    std::fill(std::begin(keys), std::end(keys), BYTE{0});
    mouseState = DIMOUSESTATE{};
}
