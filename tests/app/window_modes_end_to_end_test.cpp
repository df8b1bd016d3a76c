// The real program on a wide virtual display without a window manager, full screen and in a
// window: the whole X screen, captured while the biker stands on the floor, against the frame the
// program saved at that moment.

#include "../game/working_folder.h"
#include "game_process.h"
#include "screen_capture.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ostream>

namespace {

using namespace std::chrono_literals;

struct Area {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Area&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Area& area) {
    return out << area.width << "x" << area.height << " at " << area.x << "," << area.y;
}

// The smallest area holding every pixel that is not black.
Area LitArea(const ScreenShot& shot) {
    int left = shot.width, top = shot.height, right = -1, bottom = -1;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            if (shot.At(x, y) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? Area{} : Area{left, top, right - left + 1, bottom - top + 1};
}

// Whether the PNG file ends in its end chunk.
bool WhollyWritten(const char* path) {
    constexpr unsigned char end[] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
    return bytes.size() >= sizeof end &&
           std::equal(std::begin(end), std::end(end), bytes.end() - sizeof end);
}

// The frame the program saved, as 0xRRGGBB pixels; empty while it is not wholly written.
std::optional<ScreenShot> LoadFrame(const char* path) {
    SDL_Surface* loaded = WhollyWritten(path) ? IMG_Load(path) : nullptr;
    if (loaded == nullptr) {
        return std::nullopt;
    }
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (argb == nullptr) {
        return std::nullopt;
    }
    ScreenShot frame{argb->w, argb->h, {}};
    for (int y = 0; y < argb->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(argb->pixels) + y * argb->pitch);
        for (int x = 0; x < argb->w; ++x) {
            frame.pixels.push_back(row[x] & 0xFFFFFF);
        }
    }
    SDL_FreeSurface(argb);
    return frame;
}

// Samples of `area` on the screen that are not the frame scaled into it: with linear filtering each
// channel of a shown pixel lies between those of the frame's pixels around the point it maps to.
int CountScaledMismatches(const ScreenShot& frame, const ScreenShot& screen, const Area& area) {
    auto around = [](int onScreen, int screenSide, int frameSide) {
        double at = (onScreen + 0.5) * frameSide / screenSide - 0.5;
        int low = std::clamp(static_cast<int>(std::floor(at)), 0, frameSide - 1);
        int high = at == std::floor(at) ? low : std::min(low + 1, frameSide - 1);
        return std::pair{low, high};
    };
    constexpr int tolerance = 4;
    int mismatches = 0;
    for (int y = 0; y < area.height; y += 3) {
        const auto [top, bottom] = around(y, area.height, frame.height);
        for (int x = 0; x < area.width; x += 3) {
            const auto [left, right] = around(x, area.width, frame.width);
            const std::uint32_t shown = screen.At(area.x + x, area.y + y);
            for (int shift : {0, 8, 16}) {
                int low = 255, high = 0;
                for (std::uint32_t source : {frame.At(left, top), frame.At(right, top),
                                             frame.At(left, bottom), frame.At(right, bottom)}) {
                    low = std::min(low, static_cast<int>((source >> shift) & 0xFF));
                    high = std::max(high, static_cast<int>((source >> shift) & 0xFF));
                }
                const int channel = static_cast<int>((shown >> shift) & 0xFF);
                if (channel < low - tolerance || channel > high + tolerance) {
                    ++mismatches;
                    break;
                }
            }
        }
    }
    return mismatches;
}

struct Seen {
    std::optional<ScreenShot> frame;
    std::optional<ScreenShot> screen;
};

// Starts the program with these arguments, waits for the frame it saves once the biker stands on
// the floor (a still picture from then on), captures the whole screen and stops the program.
Seen RideAndLook(const VirtualDisplay& display, std::vector<std::string> arguments) {
    std::ofstream("ride.txt") << "40      # fall and land\n"
                                 "capture frame.png\n"
                                 "2000    # stand while the screen is captured\n";
    GameEnvironment environment(display.name, "ride.txt");
    arguments.insert(arguments.begin(), QUILLERBY_PROGRAM);
    Child game(arguments, nullptr, environment.Get());
    Seen seen;
    const auto end = std::chrono::steady_clock::now() + 60s;
    while (game.Started() && !seen.frame && std::chrono::steady_clock::now() < end) {
        seen.frame = LoadFrame("frame.png");
        std::this_thread::sleep_for(20ms);
    }
    if (seen.frame) {
        seen.screen = CaptureScreen(display.name, "screen.xwd");
    }
    game.Stop();
    std::filesystem::remove("frame.png");
    return seen;
}

// The level's border tiles are nowhere black, so the lit part of the screen is the picture.
void ExpectWholeFrameLit(const ScreenShot& frame) {
    EXPECT_EQ(LitArea(frame), (Area{0, 0, 1024, 768}));
}

TEST(EndToEnd, FullScreenWithoutAWindowManagerShowsTheWholeLevelCentred) {
    WorkingFolder folder;
    VirtualDisplay display("1920x1080x24");
    ASSERT_FALSE(display.name.empty()) << "Xvfb did not start";

    const Seen seen = RideAndLook(display, {});
    ASSERT_TRUE(seen.frame.has_value()) << "the program saved no frame";
    ASSERT_TRUE(seen.screen.has_value()) << "xwd could not capture the screen";
    ExpectWholeFrameLit(*seen.frame);
    ASSERT_EQ(seen.screen->width, 1920);
    ASSERT_EQ(seen.screen->height, 1080);
    // 1024 by 768 scaled to the screen's height: 1440 by 1080, with black bars of 240 on each side.
    const Area picture{240, 0, 1440, 1080};
    EXPECT_EQ(LitArea(*seen.screen), picture);
    EXPECT_EQ(CountScaledMismatches(*seen.frame, *seen.screen, picture), 0);
}

TEST(EndToEnd, WindowedIsA1024By768WindowAndStaysSoForTheNextRun) {
    WorkingFolder folder;
    VirtualDisplay display("1920x1080x24");
    ASSERT_FALSE(display.name.empty()) << "Xvfb did not start";
    const Area centred{448, 156, 1024, 768};

    for (const auto& arguments :
         {std::vector<std::string>{"--windowed"}, std::vector<std::string>{}}) {
        SCOPED_TRACE(arguments.empty() ? "remembered" : "--windowed");
        const Seen seen = RideAndLook(display, arguments);
        ASSERT_TRUE(seen.frame.has_value()) << "the program saved no frame";
        ASSERT_TRUE(seen.screen.has_value()) << "xwd could not capture the screen";
        ExpectWholeFrameLit(*seen.frame);
        EXPECT_EQ(LitArea(*seen.screen), centred);
        EXPECT_EQ(CountScaledMismatches(*seen.frame, *seen.screen, centred), 0);
    }

    // The choice is kept under the current user's key for the program.
    setenv("WINAPI_REGISTRY_DIR", GameEnvironment::RegistryFolder().c_str(), 1);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\quillerby\\Display", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD windowed = 0;
    DWORD size = sizeof windowed;
    EXPECT_EQ(RegQueryValueExA(key, "Windowed", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&windowed), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(windowed, 1u);
    RegCloseKey(key);
    unsetenv("WINAPI_REGISTRY_DIR");
}

} // namespace
