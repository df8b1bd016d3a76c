#include "app/shell.h"

#include "game/game.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/platform_state.h"

const char appTitle[] = "Quillerby";

ATOM RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WinProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = nullptr;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = appTitle;
    windowClass.hIconSm = nullptr;
    return RegisterClassExA(&windowClass);
}

namespace {

// Gives back one reference and forgets it, so that a second destroy message (the game's own
// request, then the window really being destroyed) cannot release it again.
template <typename Interface> bool ReleaseOnce(Interface*& object) {
    if (object == nullptr) {
        return false;
    }
    object->Release();
    object = nullptr;
    return true;
}

// Releases everything the set-up made, the device before the object that made it, and ends the
// main loop.
void ShutDown(HWND window) {
    ReleaseOnce(backBuffer); // the set-up's reference, given back before its device goes
    if (ReleaseOnce(d3dDevice)) {
        Log << "Direct3D Device Released\n";
    }
    if (ReleaseOnce(d3dObject)) {
        Log << "Direct3D Object Released\n";
    }
    if (ReleaseOnce(spriteHandler)) {
        Log << "Sprite Handler Released\n";
    }
    Release_Keyboard();
    Release_Mouse();
    if (ReleaseOnce(dinputObject)) {
        Log << "DirectInput Object Released\n";
    }
    Game_Shutdown(window);
    PostQuitMessage(0);
}

} // namespace

LRESULT CALLBACK WinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ShutDown(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
