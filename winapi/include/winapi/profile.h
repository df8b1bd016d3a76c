#pragma once
// Ours, not the platform's: which backends the services run on. A program runs on the desktop;
// tests choose a profile that needs no display and no sound card. The keyboard script named by
// WINAPI_INPUT_SCRIPT takes the keyboard's place on every profile.

namespace winapi {

enum class Profile {
    Desktop,  // SDL2 windows, renderer, keyboard and mouse; the sound card, silence when none opens
    Headless, // windows are records only; frames go to the graphics frame hook, keyboard and mouse
              // come from the input hooks, sound is mixed into silence in real time
    Offline,  // headless, and sound is mixed only when a test renders it (RenderSoundMix)
};

// The backends of every window, device and sound device made after the call.
void SelectProfile(Profile profile);
Profile SelectedProfile();

} // namespace winapi
