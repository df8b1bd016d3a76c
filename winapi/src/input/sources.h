#pragma once
// Where the devices' snapshots come from: SDL2's keyboard and mouse, the test hooks, or (for the
// keyboard) a script.

#include <array>
#include <dinput.h>
#include <memory>

namespace winapi::input {

class KeySource {
public:
    virtual ~KeySource() = default;
    virtual void Read(std::array<BYTE, 256>& keys) = 0;
};

class MouseSource {
public:
    virtual ~MouseSource() = default;
    virtual void Read(DIMOUSESTATE& state) = 0;
    // An exclusive mouse keeps the pointer to the program while acquired.
    virtual void Capture(bool exclusive) = 0;
};

// The keyboard for a device acquired on `window`: the script named by WINAPI_INPUT_SCRIPT if there
// is one, else the hooks in headless runs and SDL2 otherwise. Null (after a message on standard
// error) when the script cannot be read or has a malformed line.
std::unique_ptr<KeySource> MakeKeySource(HWND window);
std::unique_ptr<MouseSource> MakeMouseSource();

// A keyboard that plays the script in the named file.
std::unique_ptr<KeySource> MakeScriptKeySource(const char* path, HWND window);

} // namespace winapi::input
