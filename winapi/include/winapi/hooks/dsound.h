#pragma once
// Test hooks for the sound-output service: mixing offline without a sound card or a clock (on the
// offline profile, winapi/profile.h), taking buffers away as the platform does when another
// program takes the device, and failing chosen calls to reach the callers' failure paths.

#include <dsound.h>

#include <vector>

namespace winapi::hooks {

// Mixes the next `frames` frames of an offline device (null: the most recently made live one)
// and returns them as the bytes the device would receive, in the primary buffer's format. Cursors
// advance and notifications fire as if that much time had passed. Empty for any other device.
std::vector<BYTE> RenderSoundMix(DWORD frames, IDirectSound8* device = nullptr);

// Marks every secondary buffer of every live device lost and stops it.
void LoseSoundBuffers();

// The next `count` Restore calls fail with DSERR_BUFFERLOST, as while the other program still
// holds the device. 0 lets Restore succeed again.
void RefuseSoundRestores(int count);

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

// Every call and restore succeeds again.
void ResetSoundHooks();

} // namespace winapi::hooks
