// One frame of play and drawing at 1024 by 768 on the software device, without the pacing wait:
// the headless device's clock moves 15 ms at each present, so the wait ends at its first look.
// The biker stands on the floor; the log goes to /dev/null, flushed per line as in the game.

#include "game/game.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/platform_state.h"
#include "platform/sound_front_end.h"
#include "winapi/hooks/clock.h"
#include "winapi/hooks/graphics.h"
#include "winapi/profile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

HWND StartGame() {
    using namespace winapi::hooks;
    winapi::SelectProfile(winapi::Profile::Offline);
    UseFakeClock(1'000'000'000);
    SetFrameSink([](const Frame&) { AdvanceFakeClock(15'000'000); });

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "GameFrameBenchmark";
    RegisterClassExA(&windowClass);
    HWND window = CreateWindowExA(0, "GameFrameBenchmark", "", WS_POPUP | WS_VISIBLE, 0, 0, 1024,
                                  768, nullptr, nullptr, nullptr, nullptr);

    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(__FILE__).parent_path().parent_path() /
                                  "assets");
    const bool ready = Init_Direct3D(window, 1024, 768) && Init_DirectSound(window) &&
                       Init_DirectInput(window) && Init_Mouse(window) && Init_Keyboard(window) &&
                       Game_Init(window);
    std::filesystem::current_path(previous);
    return ready ? window : nullptr;
}

void BM_GameFrame(benchmark::State& state) {
    std::ofstream nowhere("/dev/null");
    Log.rdbuf(nowhere.rdbuf());
    static HWND window = StartGame();
    if (window == nullptr) {
        state.SkipWithError("the game could not be set up");
        return;
    }
    for (int i = 0; i < 40; ++i) { // fall and land first
        Game_Frame(window);
    }
    for (auto _ : state) {
        Game_Frame(window);
    }
    Log.rdbuf(nullptr);
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
