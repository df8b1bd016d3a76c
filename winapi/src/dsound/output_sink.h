#pragma once
// Where the mix goes. A sink pulls frames from its source on a thread of its own: the SDL2 sink
// from the sound card's callback, the silent sink from a thread clocked in real time.

#include "dsound/sample_format.h"

#include <memory>
#include <string>

namespace winapi::dsound {

class NotificationPacer;

class MixSource {
public:
    // Mixes `frames` frames in `format` into `out`. Called by a sink without any lock held. The
    // notifications passed are set at once, or, with a pacer, when their sound plays: the frames
    // are taken to start playing as the call begins.
    virtual void Render(BYTE* out, DWORD frames, const SampleFormat& format,
                        NotificationPacer* pacer = nullptr) = 0;

protected:
    ~MixSource() = default;
};

class OutputSink {
public:
    virtual ~OutputSink() = default;
    // Starts pulling mixed frames from the source in `format`. False, with the reason in
    // `error`, when the output cannot be opened.
    virtual bool Start(const SampleFormat& format, std::string* error) = 0;
    // Stops pulling: once it returns no Render call is running and none will start.
    virtual void Stop() = 0;
};

// Every sink backend is made by a factory of one shape: the engine to pull from in, the sink out
// (not started yet), or null when this backend cannot be used.
using SinkFactory = std::unique_ptr<OutputSink> (*)(MixSource& source);

// The default sound card through SDL2, with a device buffer that keeps the output latency within
// 30 ms. When the device goes away the mix goes on into silence until one is available again.
std::unique_ptr<OutputSink> MakeSdlSink(MixSource& source);

// The buffer of the output device that an SDL2 sink plays the source's mix into, in frames; 0
// while there is none (offline, silent, or the device gone).
DWORD OutputDeviceBufferFrames(const MixSource& source);

// Mixes into nothing, as fast as real time passes.
std::unique_ptr<OutputSink> MakeSilentSink(MixSource& source);

} // namespace winapi::dsound
