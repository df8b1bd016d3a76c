#include "window/display.h"

#include "profile/backends.h"
#include "window/window_table.h"

#include <SDL.h>

namespace winapi::window {
namespace {

enum class VideoState { NotTried, Started, Failed };
VideoState video = VideoState::NotTried;

} // namespace

bool Headless() {
    return !profile::Backends().display;
}

bool VideoAvailable() {
    if (Headless()) {
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
}

} // namespace winapi::window

// SDL2 starts D-Bus along with its video and never shuts D-Bus down, so D-Bus's global locks stay
// allocated at exit; the leak checker of sanitizer builds is told so, and only that.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}
