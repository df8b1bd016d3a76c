// The real program on a virtual display of its own, driven by a keyboard script: its log from the
// first line to the last, its exit code, and a frame it saved compared pixel by pixel with the
// level's tiles and the biker at the position it logged.

#include "../game/bitmap_file.h"
#include "../game/working_folder.h"
#include "game/game_state.h"
#include "game_process.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

TEST(EndToEnd, ScriptedRideOnAVirtualDisplayLogsDrawsAndEndsCleanly) {
    WorkingFolder folder;
    constexpr int capturedFrame = 66;
    std::ofstream(folder.Path() / "ride.txt") << "40        # fall and land\n"
                                                 "25 205    # ride right\n"
                                                 "capture frame.png\n"
                                                 "20\n"
                                                 "5 1       # Escape\n";

    VirtualDisplay display;
    ASSERT_FALSE(display.name.empty()) << "Xvfb did not start";

    GameEnvironment environment(display.name, "ride.txt");
    Child game({QUILLERBY_PROGRAM}, nullptr, environment.Get());
    ASSERT_TRUE(game.Started());
    EXPECT_EQ(game.WaitForExit(60s), 0);

    const auto lines = ReadLines((folder.Path() / "Log.txt").string());
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.front(), "Log file created successfully!");
    EXPECT_EQ(lines.back(), "Game shut down!");
    const auto setUpEnd =
        std::find(lines.begin(), lines.end(), "Game Specific Objects Initialized");
    ASSERT_NE(setUpEnd, lines.end());
    const auto firstFrame = setUpEnd + 1;
    ASSERT_LT(firstFrame - lines.begin() + 2 * capturedFrame, static_cast<long>(lines.size()));
    std::istringstream position(*(firstFrame + 2 * (capturedFrame - 1)));
    float x = 0;
    float y = 0;
    ASSERT_TRUE(position >> x >> y);
    EXPECT_GT(x, 300.5f) << "the biker rode to the right";
    EXPECT_EQ(y, 674.0f);

    SDL_Surface* loaded = IMG_Load((folder.Path() / "frame.png").c_str());
    ASSERT_NE(loaded, nullptr) << IMG_GetError();
    SDL_Surface* frame = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->w, 1024);
    ASSERT_EQ(frame->h, 768);

    tileMap.Build();
    const int mismatches = CountMismatches(
        [&](int px, int py) {
            return static_cast<const std::uint32_t*>(frame->pixels)[py * (frame->pitch / 4) + px];
        },
        [](int column, int row) { return tileMap.TileAt(column, row).number; },
        ReadBitmap("TilesFun2.bmp"), ReadBitmap("Biker2.bmp"), static_cast<int>(std::lround(x)),
        static_cast<int>(std::lround(y)));
    SDL_FreeSurface(frame);
    EXPECT_EQ(mismatches, 0);
}

} // namespace
