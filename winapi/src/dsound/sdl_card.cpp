// An output device through SDL2's audio callback.

#include "dsound/sdl_card.h"

#include "dsound/engine.h"
#include "dsound/registry.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace winapi::dsound {
namespace {

// A device that has not pulled for this long while SDL2 says it plays is taken for gone: some
// drivers block in their write once the device is unplugged instead of reporting it.
constexpr std::int64_t kSilentDeviceMs = 2000;

constexpr std::uint64_t kMaxLatencyMs = 30;

// SDL has no packed 24-bit samples: such an output is mixed as 32-bit.
SDL_AudioFormat DeviceEncoding(SampleEncoding encoding) {
    switch (encoding) {
    case SampleEncoding::U8:
        return AUDIO_U8;
    case SampleEncoding::S16:
        return AUDIO_S16LSB;
    case SampleEncoding::S24:
    case SampleEncoding::S32:
        return AUDIO_S32LSB;
    case SampleEncoding::F32:
        return AUDIO_F32LSB;
    }
    return AUDIO_S16LSB;
}

} // namespace

DWORD DeviceBufferFrames(DWORD rate) {
    // What is mixed reaches the ear after the device buffer and the mixing block have played; at
    // very low rates even 64 frames may not keep within the bound, and 64 is taken all the same.
    const std::uint64_t budget = std::uint64_t{rate} * kMaxLatencyMs / 1000;
    DWORD frames = 8192;
    while (frames > 64 && frames + std::min(frames, kBlockFrames) > budget) {
        frames /= 2;
    }
    return frames;
}

bool SdlCard::Open(const SampleFormat& format, std::string* error) {
    Close();
    if (outputDeviceRemoved) {
        *error = "the output device was removed";
        return false;
    }
    format_ = format;
    if (format_.encoding == SampleEncoding::S24) {
        format_.encoding = SampleEncoding::S32;
    }
    format_.blockAlign = format_.channels * BytesPerSample(format_.encoding);
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(format.rate);
    wanted.format = DeviceEncoding(format.encoding);
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = static_cast<Uint16>(DeviceBufferFrames(format.rate));
    wanted.callback = &SdlCard::Callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the card takes.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0) {
        *error = SDL_GetError();
        return false;
    }
    bufferFrames_ = obtained.samples;
    return true;
}

void SdlCard::Play() {
    lastPull_ = Now();
    SDL_PauseAudioDevice(device_, 0);
}

void SdlCard::Close() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
        bufferFrames_ = 0;
    }
}

bool SdlCard::Gone() const {
    if (device_ == 0) {
        return false;
    }
    if (outputDeviceRemoved) {
        return true;
    }
    const SDL_AudioStatus status = SDL_GetAudioDeviceStatus(device_);
    if (status == SDL_AUDIO_STOPPED) {
        return true; // SDL2 marks a removed device so, as it posts SDL_AUDIODEVICEREMOVED
    }
    return status == SDL_AUDIO_PLAYING && Now() - lastPull_ > kSilentDeviceMs;
}

std::int64_t SdlCard::Now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SdlCard::Callback(void* userdata, Uint8* stream, int length) {
    auto* card = static_cast<SdlCard*>(userdata);
    if (outputDeviceRemoved) {
        // Unplugged by the hooks: as SDL2 does for a removed device, nothing is pulled any more.
        std::memset(stream, SilenceByte(card->format_.encoding), static_cast<std::size_t>(length));
        return;
    }
    card->lastPull_ = Now();
    card->source_.Render(stream, static_cast<DWORD>(length) / card->format_.blockAlign,
                         card->format_, &card->pacer_);
}

} // namespace winapi::dsound
