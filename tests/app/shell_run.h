#pragma once
// Runs WinMain in the test's process on the headless platform, in a folder of its own, and reads
// back the Log.txt it wrote.

#include "../game/working_folder.h"
#include "../platform/headless_platform.h"
#include "app/shell.h"
#include "game/game_state.h"
#include "platform/platform_state.h"

#include <fstream>
#include <iostream>
#include <string>
#include <vector>

class ShellRun {
public:
    explicit ShellRun(const std::vector<std::string>& assets = {allAssets[0], allAssets[1],
                                                                allAssets[2]})
        : folder(assets) {}
    ~ShellRun() {
        ResetGameState();
        ResetPlatformState();
        Log.rdbuf(std::cerr.rdbuf());
    }
    ShellRun(const ShellRun&) = delete;
    ShellRun& operator=(const ShellRun&) = delete;

    int Run() { return WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWDEFAULT); }

    std::vector<std::string> LogLines() const {
        std::ifstream file(folder.Path() / "Log.txt");
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    WorkingFolder folder;
    HeadlessPlatform platform;
};
