#pragma once
// Where the devices' snapshots come from: SDL2's keyboard and mouse, the test hooks, or (for the
// keyboard) a script. The platform profile picks one (profile/backends.h).

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

// Every keyboard and mouse backend is made by a factory of one shape: the window the device is
// acquired on in, the source out, or null when this backend cannot be used.
using KeySourceFactory = std::unique_ptr<KeySource> (*)(HWND window);
using MouseSourceFactory = std::unique_ptr<MouseSource> (*)(HWND window);

std::unique_ptr<KeySource> MakeSdlKeySource(HWND window);
std::unique_ptr<MouseSource> MakeSdlMouseSource(HWND window);

// What the input hooks set (winapi/hooks/input.h).
std::unique_ptr<KeySource> MakeHeadlessKeySource(HWND window);
std::unique_ptr<MouseSource> MakeHeadlessMouseSource(HWND window);

// Plays the script in the file that WINAPI_INPUT_SCRIPT names. Null (after a message on standard
// error) when the script cannot be read or has a malformed line.
std::unique_ptr<KeySource> MakeScriptKeySource(HWND window);

} // namespace winapi::input
