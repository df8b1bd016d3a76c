#pragma once
// The backends of each platform profile, one table row a profile (profile/backends.cpp), so that
// one file tells what runs where.

#include "dsound/output_sink.h"
#include "graphics/presenter.h"
#include "input/controllers.h"
#include "input/sources.h"

namespace winapi::profile {

struct BackendSet {
    const char* name;
    const char* description;
    bool display;                          // windows get SDL2 windows
    graphics::PresenterFactory presenter;  // where Present shows the back buffer
    input::KeySourceFactory keyboard;      // what an acquired keyboard reads
    input::MouseSourceFactory mouse;       // what an acquired mouse reads
    input::ControllersFactory controllers; // game controllers joining the keyboard; null: none
    dsound::SinkFactory sound;             // where a sound device mixes to; null: offline
};

// The selected profile's backends, with the scripted keyboard in place of the profile's, and no
// controllers, while WINAPI_INPUT_SCRIPT names a script: a scripted ride stays reproducible.
BackendSet Backends();

} // namespace winapi::profile
