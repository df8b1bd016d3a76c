#include "window/display.h"

#include "window/window_table.h"

#include <SDL.h>

namespace winapi::window {
namespace {

bool headless = false;
enum class VideoState { NotTried, Started, Failed };
VideoState video = VideoState::NotTried;

} // namespace

bool Headless() {
    return headless;
}

void SetHeadless(bool value) {
    headless = value;
}

bool VideoAvailable() {
    if (headless) {
        return false;
    }
    if (video == VideoState::NotTried) {
        video = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0 ? VideoState::Started : VideoState::Failed;
    }
    return video == VideoState::Started;
}

bool VideoStarted() {
    return video == VideoState::Started;
}

void ShutDownDisplay() {
    ForgetAllWindows();
    if (video == VideoState::Started) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        video = VideoState::NotTried;
    }
}

} // namespace winapi::window
