// The sound card, through SDL2's audio callback.

#include "dsound/output_sink.h"

#include <SDL.h>

namespace winapi::dsound {
namespace {

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

// The power of two nearest to 20 ms of frames: short enough that a sound starts at once, long
// enough that the callback is not starved.
Uint16 DeviceBufferFrames(DWORD rate) {
    const DWORD wanted = rate / 50;
    Uint16 frames = 64;
    while (frames < 8192 && frames * 3 / 2 < wanted) {
        frames *= 2;
    }
    return frames;
}

class SdlSink final : public OutputSink {
public:
    explicit SdlSink(MixSource& source) : source_(source) {}
    ~SdlSink() override { Stop(); }

    bool Start(const SampleFormat& format, std::string* error) override {
        Stop();
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            *error = SDL_GetError();
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
        wanted.samples = DeviceBufferFrames(format.rate);
        wanted.callback = &SdlSink::Callback;
        wanted.userdata = this;
        SDL_AudioSpec obtained{};
        // No changes allowed: SDL converts to whatever the card takes.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
        if (device_ == 0) {
            *error = SDL_GetError();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

    void Stop() override {
        if (device_ != 0) {
            SDL_CloseAudioDevice(device_);
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            device_ = 0;
        }
    }

private:
    static void Callback(void* userdata, Uint8* stream, int length) {
        auto* sink = static_cast<SdlSink*>(userdata);
        sink->source_.Render(stream, static_cast<DWORD>(length) / sink->format_.blockAlign,
                             sink->format_);
    }

    MixSource& source_;
    SampleFormat format_;
    SDL_AudioDeviceID device_ = 0;
};

} // namespace

std::unique_ptr<OutputSink> MakeSdlSink(MixSource& source) {
    return std::make_unique<SdlSink>(source);
}

} // namespace winapi::dsound
