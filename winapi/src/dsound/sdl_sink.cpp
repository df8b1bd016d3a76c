// The sound card through SDL2, watched: when the output device goes away (a USB headset
// unplugged) the mix goes on into silence, so cursors move and notifications fire, and it moves
// back to the default output device once one opens again.

#include "dsound/output_sink.h"

#include "dsound/audio_library_noise.h"
#include "dsound/sdl_card.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

namespace winapi::dsound {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kWatchTick = std::chrono::milliseconds(50);
constexpr auto kRetryEvery = std::chrono::milliseconds(500);

class SdlSink;

// The sinks alive, so that the hooks can tell where a device's mix goes.
std::mutex sinksMutex;
std::vector<SdlSink*> sinks;

class SdlSink final : public OutputSink {
public:
    explicit SdlSink(MixSource& source) : source_(source), card_(source) {
        std::lock_guard lock(sinksMutex);
        sinks.push_back(this);
    }

    ~SdlSink() override {
        {
            std::lock_guard lock(sinksMutex);
            std::erase(sinks, this);
        }
        Stop();
    }

    bool Start(const SampleFormat& format, std::string* error) override {
        Stop();
        QuietAudioLibraries();
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            *error = SDL_GetError();
            return false;
        }
        std::lock_guard lock(mutex_);
        format_ = format;
        if (card_.Open(format, error)) {
            card_.Play();
        } else if (waitingForDevice_) {
            // Still without the device it lost: silence until one returns.
            StartSilenceLocked();
        } else {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        stopping_ = false;
        watchdog_ = std::thread([this] { Watch(); });
        return true;
    }

    void Stop() override {
        std::unique_lock lock(mutex_);
        if (!watchdog_.joinable()) {
            return;
        }
        stopping_ = true;
        lock.unlock();
        wake_.notify_all();
        watchdog_.join();
        lock.lock();
        card_.Close();
        if (silence_) {
            silence_->Stop();
            silence_.reset();
        }
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    bool Pulls(const MixSource& source) const { return &source_ == &source; }

    // The output device's buffer in frames; 0 while the mix goes into silence.
    DWORD DeviceBufferFrames() {
        std::lock_guard lock(mutex_);
        return card_.IsOpen() ? card_.BufferFrames() : 0;
    }

private:
    void Watch() {
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, kWatchTick, [this] { return stopping_; })) {
            if (card_.IsOpen()) {
                if (card_.Gone()) {
                    MoveToSilenceLocked();
                }
            } else if (Clock::now() >= nextTry_) {
                TryDeviceLocked();
            }
        }
    }

    void MoveToSilenceLocked() {
        card_.Close();
        std::fprintf(stderr, "sound: the output device was removed; mixing into silence until "
                             "one is available again\n");
        waitingForDevice_ = true;
        StartSilenceLocked();
    }

    void StartSilenceLocked() {
        silence_ = MakeSilentSink(source_);
        std::string unused;
        silence_->Start(format_, &unused);
        nextTry_ = Clock::now() + kRetryEvery;
    }

    // The device opens paused, so that silence and the device never pull at once.
    void TryDeviceLocked() {
        std::string error;
        if (!card_.Open(format_, &error)) {
            nextTry_ = Clock::now() + kRetryEvery;
            return;
        }
        silence_->Stop();
        silence_.reset();
        card_.Play();
        waitingForDevice_ = false;
        std::fprintf(stderr, "sound: an output device is available again; mixing into it\n");
    }

    MixSource& source_;
    std::mutex mutex_; // guards everything below; the watchdog holds it while it switches
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread watchdog_;
    SampleFormat format_;
    SdlCard card_;
    std::unique_ptr<OutputSink> silence_; // while the device is gone
    bool waitingForDevice_ = false;       // the device went away and has not come back
    Clock::time_point nextTry_;
};

} // namespace

std::unique_ptr<OutputSink> MakeSdlSink(MixSource& source) {
    return std::make_unique<SdlSink>(source);
}

DWORD OutputDeviceBufferFrames(const MixSource& source) {
    std::lock_guard lock(sinksMutex);
    const auto found = std::find_if(sinks.begin(), sinks.end(),
                                    [&source](SdlSink* sink) { return sink->Pulls(source); });
    return found != sinks.end() ? (*found)->DeviceBufferFrames() : 0;
}

} // namespace winapi::dsound
