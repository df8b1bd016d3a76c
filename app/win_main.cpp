#include "app/shell.h"

#include "game/game.h"
#include "game/game_state.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/platform_state.h"
#include "platform/sound_front_end.h"

#include <fstream>

namespace {

constexpr int screenWidth = 1024;
constexpr int screenHeight = 768;

// Log writes through Log.txt while this lives. Afterwards Log has no buffer at all, so nothing is
// ever written through the closed file.
class LogFile {
public:
    LogFile() : file("Log.txt", std::ios::out | std::ios::trunc) {
        Log.rdbuf(file.rdbuf());
        Log << "Log file created successfully!\n\n";
    }
    ~LogFile() {
        Log.rdbuf(nullptr);
        file.close();
    }
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

private:
    std::ofstream file;
};

// The set-up chain, stopping at the first failure with the shell's own line for it.
bool SetUp(HWND window) {
    if (!Init_Direct3D(window, screenWidth, screenHeight)) {
        Log << "Error Initializing Direct3D\n";
        return false;
    }
    if (!Init_DirectSound(window)) {
        Log << "Error Initializing DirectSound\n";
        return false;
    }
    if (!Init_DirectInput(window)) {
        Log << "Error Initializing DirectInput\n";
        return false;
    }
    if (!Init_Mouse(window)) {
        Log << "Error Initializing Mouse\n";
        return false;
    }
    if (!Init_Keyboard(window)) {
        Log << "Error Initializing Keyboard\n";
        return false;
    }
    if (!Game_Init(window)) {
        Log << "Error running Game_Init\n";
        return false;
    }
    return true;
}

// Each pass handles exactly one waiting message or, when none waits, one game frame.
WPARAM RunMainLoop(HWND window) {
    MSG message{};
    bool done = false;
    while (!done) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                done = true;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else {
            Game_Frame(window);
        }
    }
    return message.wParam;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    RegisterWindowClass(instance);
    HWND window =
        CreateWindowExA(0, appTitle, appTitle, WS_POPUP | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                        screenWidth, screenHeight, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 0;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    WPARAM exitCode = 0;
    {
        LogFile logFile;
        if (!SetUp(window)) {
            return 0;
        }
        exitCode = RunMainLoop(window);
    }
    // The game's textures go back once the log is closed; the biker's line is then dropped.
    player.Release();
    tileMap.ReleaseTexture();
    return static_cast<int>(exitCode);
}
