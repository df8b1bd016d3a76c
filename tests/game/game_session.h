#pragma once
// A game set up as the shell sets it up, on the headless platform, with its log captured. Frames
// are run one at a time with exactly the given keys down.

#include "../platform/headless_platform.h"
#include "../platform/log_capture.h"
#include "game/game.h"
#include "game/game_state.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/sound_front_end.h"
#include "working_folder.h"

#include <windows.h>

#include <initializer_list>
#include <string>

class GameSession {
public:
    explicit GameSession(const std::vector<std::string>& assets = {allAssets[0], allAssets[1],
                                                                   allAssets[2]})
        : folder(assets) {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "GameSession";
        RegisterClassExA(&windowClass);
        window = CreateWindowExA(0, "GameSession", "GameSession", WS_POPUP | WS_VISIBLE, 0, 0, 1024,
                                 768, nullptr, nullptr, nullptr, nullptr);
        platformReady = Init_Direct3D(window, 1024, 768) && Init_DirectSound(window) &&
                        Init_DirectInput(window) && Init_Mouse(window) && Init_Keyboard(window);
        platformLines = log.TakeLines();
    }

    ~GameSession() {
        Game_Shutdown(window);
        ResetGameState();
        ResetPlatformState();
    }
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // Game_Init, with the set-up lines taken out of the log.
    int Start() {
        const int result = Game_Init(window);
        setUpLines = log.TakeLines();
        return result;
    }

    void Frame(std::initializer_list<BYTE> keysDown = {}) {
        winapi::hooks::SetKeysDown(keysDown);
        Game_Frame(window);
    }
    void Frames(int count, std::initializer_list<BYTE> keysDown = {}) {
        for (int i = 0; i < count; ++i) {
            Frame(keysDown);
        }
    }

    WorkingFolder folder;
    HeadlessPlatform platform;
    LogCapture log;
    HWND window = nullptr;
    bool platformReady = false;
    std::vector<std::string> platformLines; // what the platform's set-up logged
    std::vector<std::string> setUpLines;    // what Game_Init logged
};
