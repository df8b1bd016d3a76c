// Opens a sound device on the desktop profile, sets the game's output format (which opens the
// output again) and closes it. Prints "device" or "silence" on standard output: where the mix
// went. The sound output tests run it to see what reaches standard error.

#include "winapi/hooks/dsound.h"

#include <dsound.h>

#include <cstdio>

int main() {
    static HWND__ window;
    IDirectSound8* device = nullptr;
    if (DirectSoundCreate8(nullptr, &device, nullptr) != DS_OK ||
        device->SetCooperativeLevel(&window, DSSCL_PRIORITY) != DS_OK) {
        return 1;
    }
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    IDirectSoundBuffer* primary = nullptr;
    if (device->CreateSoundBuffer(&description, &primary, nullptr) != DS_OK) {
        return 1;
    }
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 22050;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = 22050 * 4;
    const HRESULT set = primary->SetFormat(&format);
    std::printf("%s\n", winapi::hooks::PlaysIntoOutputDevice(device) ? "device" : "silence");
    primary->Release();
    device->Release();
    return set == DS_OK ? 0 : 1;
}
