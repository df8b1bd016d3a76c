#pragma once
// Which display the window, graphics and input services use: SDL2's, or none at all in the
// headless and offline profiles (winapi/profile.h).

struct SDL_Window;

namespace winapi::window {

bool Headless();

// Starts SDL2's video subsystem once; false when there is no display (or in headless runs).
bool VideoAvailable();
// Whether SDL2's video subsystem has been started, so that its events can be collected.
bool VideoStarted();
// Closes every SDL2 window that is left, at the end of the program. SDL2's video runs on until the
// process ends: stopping it unloads the X libraries, whose leftovers the leak checker of sanitizer
// builds could then no longer tell from the program's own leaks.
void ShutDownDisplay();

} // namespace winapi::window
