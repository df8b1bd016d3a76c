#include "profile/backends.h"

#include "winapi/input_script.h"
#include "winapi/profile.h"

#include <atomic>
#include <cstdlib>

namespace winapi::profile {
namespace {

// In the order of winapi::Profile.
constexpr BackendSet kProfiles[] = {
    {"desktop", "SDL2 window, renderer, keyboard, mouse and sound card", true,
     graphics::MakeSdlPresenter, input::MakeSdlKeySource, input::MakeSdlMouseSource,
     input::MakeSdlControllers, dsound::MakeSdlSink},
    {"headless", "no display: frames, keys and mouse through the hooks; sound into silence", false,
     graphics::MakeHeadlessPresenter, input::MakeHeadlessKeySource, input::MakeHeadlessMouseSource,
     input::MakeHookedControllers, dsound::MakeSilentSink},
    {"offline", "headless, and sound mixed only when a test renders it", false,
     graphics::MakeHeadlessPresenter, input::MakeHeadlessKeySource, input::MakeHeadlessMouseSource,
     input::MakeHookedControllers, nullptr},
};

std::atomic<Profile> selected{Profile::Desktop};

bool ScriptNamed() {
    const char* script = std::getenv(input::kScriptVariable);
    return script != nullptr && *script != '\0';
}

} // namespace

BackendSet Backends() {
    BackendSet backends = kProfiles[static_cast<int>(selected.load())];
    if (ScriptNamed()) {
        backends.keyboard = input::MakeScriptKeySource;
        backends.controllers = nullptr;
    }
    return backends;
}

} // namespace winapi::profile

namespace winapi {

void SelectProfile(Profile profile) {
    profile::selected = profile;
}

Profile SelectedProfile() {
    return profile::selected;
}

} // namespace winapi
