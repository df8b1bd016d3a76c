#pragma once
// Test hooks for the sound-output service: mixing offline without a sound card or a clock (on the
// offline profile, winapi/profile.h), taking buffers away as the platform does when another
// program takes the device, unplugging the output device, and failing chosen calls to reach the
// callers' failure paths.

#include <dsound.h>

#include <vector>

namespace winapi::hooks {

// Mixes the next `frames` frames of an offline device (null: the most recently made live one)
// and returns them as the bytes the device would receive, in the primary buffer's format. Cursors
// advance and notifications fire as if that much time had passed. Empty for any other device.
std::vector<BYTE> RenderSoundMix(DWORD frames, IDirectSound8* device = nullptr);

// True while the calling thread is mixing (inside a sink's pull of the mix or RenderSoundMix), for
// tests that watch what mixing does, such as allocating memory.
bool InsideSoundMix();

// Marks every secondary buffer of every live device lost and stops it.
void LoseSoundBuffers();

// The next `count` Restore calls fail with DSERR_BUFFERLOST, as while the other program still
// holds the device. 0 lets Restore succeed again.
void RefuseSoundRestores(int count);

// Unplugs the output device under every device on the desktop profile, as when a USB headset is
// pulled out: SDL2 stops asking for the mix and reports the device removed, and no output device
// opens until ReturnOutputDevice.
void RemoveOutputDevice();
// An output device can be opened again.
void ReturnOutputDevice();

// True while `device` plays into an output device through SDL2, not into silence or offline.
bool PlaysIntoOutputDevice(IDirectSound8* device);
// The frames from the mix to the output device of `device`, at the primary buffer's rate: the
// device's buffer, as SDL2 granted it, and one mixing block. 0 while it plays into no device.
DWORD SoundOutputLatencyFrames(IDirectSound8* device);

// Platform calls that can be made to fail.
enum class SoundCall {
    DirectSoundCreate8,
    SetCooperativeLevel,
    DuplicateSoundBuffer,
    QueryInterface, // of a buffer, for its notify or 3D interface or the listener
    SetNotificationPositions,
};
// Every later call of that kind fails with `result` and changes nothing; a success code lets
// them succeed again.
void FailSoundCall(SoundCall call, HRESULT result);

// Every call and restore succeeds again, and the output device is back.
void ResetSoundHooks();

} // namespace winapi::hooks
