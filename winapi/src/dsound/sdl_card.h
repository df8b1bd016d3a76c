#pragma once
// One output device opened through SDL2's audio, pulling the mix from its callback, and whether it
// is still there.

#include "dsound/notification_pacer.h"
#include "dsound/output_sink.h"

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace winapi::dsound {

class SdlCard {
public:
    explicit SdlCard(MixSource& source) : source_(source) {}
    ~SdlCard() { Close(); }
    SdlCard(const SdlCard&) = delete;
    SdlCard& operator=(const SdlCard&) = delete;

    // Opens the default output device in `format`, paused. False, with the reason in `error`,
    // when none opens. SDL2's audio must be initialised.
    bool Open(const SampleFormat& format, std::string* error);
    // Starts pulling the mix.
    void Play();
    // Once it returns no callback is running and none will start.
    void Close();

    bool IsOpen() const { return device_ != 0; }
    // True once an open device has gone: SDL2 took it away (its device-removed event), the hooks
    // unplugged it, or it has pulled nothing for a long while although it claims to play.
    bool Gone() const;
    // Frames the device takes per callback: its buffer.
    DWORD BufferFrames() const { return bufferFrames_; }

private:
    static void Callback(void* userdata, Uint8* stream, int length);
    static std::int64_t Now();

    MixSource& source_;
    SampleFormat format_;
    SDL_AudioDeviceID device_ = 0;
    DWORD bufferFrames_ = 0;
    std::atomic<std::int64_t> lastPull_{0}; // steady clock, in milliseconds
    // A callback mixes a whole device buffer at once; the notifications passed in it are set as
    // its sound plays.
    NotificationPacer pacer_;
};

// How many frames the output device buffers at `rate`: the largest power of two that keeps the
// buffer and the mixing block together within 30 ms.
DWORD DeviceBufferFrames(DWORD rate);

} // namespace winapi::dsound
