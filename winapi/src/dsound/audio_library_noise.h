#pragma once
// The libraries under SDL2's audio write their own complaints to standard error (ALSA's
// "ALSA lib ..." lines when there is no sound card, SDL2's log for some drivers). The sound
// service says what matters in one line of its own, so theirs are dropped.

namespace winapi::dsound {

// Drops ALSA's error messages and SDL2's audio log. Call before SDL2's audio is initialised.
void QuietAudioLibraries();

} // namespace winapi::dsound
