#pragma once
// What the game, shell and platform tests run on: a headless platform whose device draws into
// memory, whose keyboard is scripted and whose clock moves 15 ms each time a frame is presented,
// so that a frame's pacing wait ends at once.

#include "winapi/hooks/all.h"
#include "winapi/hooks/clock.h"
#include "winapi/hooks/dsound.h"
#include "winapi/hooks/graphics.h"
#include "winapi/hooks/input.h"
#include "winapi/hooks/window.h"
#include "winapi/profile.h"

#include <cstdint>
#include <functional>
#include <vector>

class HeadlessPlatform {
public:
    static constexpr std::uint64_t frameNanoseconds = 15'000'000;

    explicit HeadlessPlatform(std::uint64_t clockStartNanoseconds = 1'000'000'000) {
        using namespace winapi::hooks;
        ResetAll();
        winapi::SelectProfile(winapi::Profile::Offline);
        UseFakeClock(clockStartNanoseconds);
        SetFrameSink([this](const Frame& frame) {
            ++framesPresented;
            frameWidth = frame.width;
            lastFrame.assign(frame.pixels.begin(), frame.pixels.end());
            AdvanceFakeClock(frameNanoseconds);
            if (onPresent) {
                onPresent(framesPresented);
            }
        });
    }
    ~HeadlessPlatform() {
        winapi::hooks::ResetAll();
        winapi::SelectProfile(winapi::Profile::Desktop);
    }
    HeadlessPlatform(const HeadlessPlatform&) = delete;
    HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

    // The pixel of the last presented frame, 32-bit ARGB.
    std::uint32_t Pixel(int x, int y) const {
        return lastFrame[static_cast<std::size_t>(y) * static_cast<std::size_t>(frameWidth) +
                         static_cast<std::size_t>(x)];
    }

    int framesPresented = 0;
    // Called after each presented frame with the number of frames so far.
    std::function<void(int)> onPresent;

private:
    int frameWidth = 0;
    std::vector<std::uint32_t> lastFrame;
};
