// Dropping what the audio libraries print on their own.

#include "dsound/audio_library_noise.h"

#include <SDL.h>
#include <dlfcn.h>

#include <mutex>

namespace winapi::dsound {
namespace {

// ALSA's snd_lib_error_handler_t.
void DropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

using SetAlsaErrorHandler = int (*)(void (*)(const char*, int, const char*, int, const char*, ...));

// ALSA is looked up at run time, as SDL2 loads it, so that the program does not depend on it.
// The library stays loaded, so that its handler stays ours.
void QuietAlsa() {
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (alsa == nullptr) {
        return;
    }
    if (auto set =
            reinterpret_cast<SetAlsaErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) {
        set(&DropAlsaMessage);
    }
}

} // namespace

void QuietAudioLibraries() {
    static std::once_flag alsa;
    std::call_once(alsa, QuietAlsa);
    // Above every priority; SDL_Quit resets the priorities, so this is set again at every start.
    SDL_LogSetPriority(SDL_LOG_CATEGORY_AUDIO, SDL_NUM_LOG_PRIORITIES);
}

} // namespace winapi::dsound
