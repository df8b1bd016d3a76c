#include "platform/sound_front_end.h"

#include "platform/platform_state.h"
#include "sound/sound_clip.h"
#include "sound/sound_device.h"

namespace {

// Clips loaded here have no volume, frequency or pan control, so these leave the sound as it is.
constexpr LONG fullVolume = 0;
constexpr LONG unchangedFrequency = -1;
constexpr LONG centred = 0;

} // namespace

int Init_DirectSound(HWND window) {
    soundDevice = new SoundDevice();
    if (soundDevice->Initialize(window, DSSCL_PRIORITY) != S_OK) {
        Log << "DirectSound Initialize failed\n";
        return 0;
    }
    if (soundDevice->SetPrimaryBufferFormat(2, 22050, 16) != S_OK) {
        Log << "SetPrimaryBufferFormat Failed\n";
        return 0;
    }
    Log << "DirectSound Initialized\n";
    return 1;
}

SoundClip* LoadSound(const char* fileName) {
    SoundClip* clip = nullptr;
    if (soundDevice == nullptr || soundDevice->Create(&clip, fileName, 0, GUID_NULL, 1) != S_OK) {
        Log << "LoadSound() Create failed\n";
        return nullptr;
    }
    Log << "LoadSound() Successful\n";
    return clip;
}

void Play_Sound(SoundClip* clip) {
    clip->Play(0, 0, fullVolume, unchangedFrequency, centred);
}

void Loop_Sound(SoundClip* clip) {
    clip->Play(0, DSBPLAY_LOOPING, fullVolume, unchangedFrequency, centred);
}

void Stop_Sound(SoundClip* clip) {
    clip->Stop();
}
