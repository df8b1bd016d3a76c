// The mixer: every playing voice resampled, scaled and summed into the output, block by block.

#include "dsound/engine.h"

#include "dsound/notification_pacer.h"
#include "dsound/notifications.h"
#include "dsound/resampler.h"
#include "dsound/spatial.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace winapi::dsound {
namespace {

// Gain changes are spread over 5 ms.
DWORD RampFrames(DWORD rate) {
    return rate / 200;
}

thread_local bool mixingOnThisThread = false;

class MixingScope {
public:
    MixingScope() { mixingOnThisThread = true; }
    ~MixingScope() { mixingOnThisThread = false; }
    MixingScope(const MixingScope&) = delete;
    MixingScope& operator=(const MixingScope&) = delete;
};

void ReportSilentOutputOnce(const std::string& reason) {
    static std::once_flag reported;
    std::call_once(reported, [&reason] {
        std::fprintf(stderr, "sound: no output device could be opened (%s); mixing into silence\n",
                     reason.c_str());
    });
}

} // namespace

DWORD SubBlockFrames(DWORD rate) {
    return std::clamp<DWORD>(rate / 200, 1, kBlockFrames);
}

bool MixingOnThisThread() {
    return mixingOnThisThread;
}

Engine::Engine(SinkFactory makeSink)
    : listener(DefaultListenerParameters()), formatRecord_(PcmFormatRecord(2, 22050, 8)) {
    // Room for a block of the widest format (two channels), so that mixing never allocates.
    mix_.reserve(static_cast<std::size_t>(kBlockFrames) * 2);
    voiceScratch_.reserve(static_cast<std::size_t>(kBlockFrames) * 2);
    pendingEvents_.reserve(16);
    if (makeSink != nullptr) {
        sink_ = makeSink(*this);
    }
    offline_ = !sink_;
    std::lock_guard sinkLock(sinkMutex_);
    StartSink();
}

Engine::~Engine() {
    std::lock_guard sinkLock(sinkMutex_);
    if (sink_) {
        sink_->Stop();
    }
}

void Engine::StartSink() {
    if (!sink_) {
        return;
    }
    const SampleFormat format = OutputFormat();
    std::string error;
    if (sink_->Start(format, &error)) {
        return;
    }
    ReportSilentOutputOnce(error);
    sink_ = MakeSilentSink(*this);
    sink_->Start(format, &error);
}

void Engine::AddVoice(Voice* voice) {
    std::lock_guard lock(mutex_);
    voices_.push_back(voice);
}

void Engine::RemoveVoice(Voice* voice) {
    std::lock_guard lock(mutex_);
    std::erase(voices_, voice);
}

SampleFormat Engine::OutputFormat() {
    std::lock_guard lock(mutex_);
    return format_;
}

std::vector<BYTE> Engine::OutputFormatRecord() {
    std::lock_guard lock(mutex_);
    return formatRecord_;
}

void Engine::SetOutputFormat(const SampleFormat& format, std::vector<BYTE> record) {
    std::lock_guard sinkLock(sinkMutex_);
    if (sink_) {
        sink_->Stop();
    }
    {
        std::lock_guard lock(mutex_);
        format_ = format;
        formatRecord_ = std::move(record);
    }
    StartSink();
}

std::uint64_t Engine::FramesRendered() {
    std::lock_guard lock(mutex_);
    return framesRendered_;
}

bool Engine::AnyVoicePlaying() {
    std::lock_guard lock(mutex_);
    return std::any_of(voices_.begin(), voices_.end(),
                       [](const Voice* voice) { return voice->playing; });
}

std::size_t Engine::PendingRoomNeededLocked(std::size_t count) const {
    // A voice passes each of its notifications at most once per sub-block.
    std::size_t total = count;
    for (const Voice* voice : voices_) {
        total += voice->notifications.size();
    }
    return total;
}

void Engine::ReserveNotifications(std::size_t count) {
    std::size_t needed = 0;
    {
        std::lock_guard lock(mutex_);
        needed = PendingRoomNeededLocked(count);
        if (needed <= pendingEvents_.capacity()) {
            return;
        }
    }
    std::vector<const std::shared_ptr<sync::Event>*> room;
    room.reserve(2 * needed);
    std::lock_guard lock(mutex_);
    if (room.capacity() > pendingEvents_.capacity()) {
        pendingEvents_.swap(room); // both empty: the list is only filled within a sub-block
    }
}

void Engine::ReserveNotificationsLocked(std::size_t count) {
    const std::size_t needed = PendingRoomNeededLocked(count);
    if (needed > pendingEvents_.capacity()) {
        pendingEvents_.reserve(2 * needed);
    }
}

void Engine::LoseAllVoices() {
    std::lock_guard lock(mutex_);
    for (Voice* voice : voices_) {
        voice->lost = true;
        voice->playing = false;
    }
}

void Engine::CommitDeferredLocked() {
    if (deferredListener) {
        listener = *deferredListener;
        deferredListener.reset();
    }
    for (Voice* voice : voices_) {
        if (voice->deferredSpatial) {
            voice->spatial = *voice->deferredSpatial;
            voice->deferredSpatial.reset();
        }
    }
}

void Engine::Render(BYTE* out, DWORD frames, const SampleFormat& format, NotificationPacer* pacer) {
    const MixingScope scope;
    const std::uint64_t start = pacer != nullptr ? NotificationPacer::NowNanoseconds() : 0;
    const DWORD subBlock = SubBlockFrames(format.rate);
    for (DWORD done = 0; done < frames;) {
        const DWORD block = std::min(subBlock, frames - done);
        const std::size_t samples = static_cast<std::size_t>(block) * format.channels;
        std::lock_guard lock(mutex_);
        mix_.resize(samples);
        std::fill_n(mix_.data(), samples, 0.0f);
        MixBlockLocked(mix_.data(), block, format);
        EncodeSamples(mix_.data(), samples, format.encoding,
                      out + static_cast<std::size_t>(done) * format.blockAlign);
        framesRendered_ += block;
        done += block;
        // Under the lock, since the events belong to voices that may go once it is released (the
        // pacer keeps its own reference); neither Set nor Schedule takes a lock.
        const std::uint64_t played = start + std::uint64_t{done} * 1'000'000'000u / format.rate;
        for (const std::shared_ptr<sync::Event>* event : pendingEvents_) {
            if (pacer == nullptr || !pacer->Schedule(*event, played)) {
                (*event)->Set();
            }
        }
        pendingEvents_.clear();
    }
}

void Engine::MixBlockLocked(float* mix, DWORD frames, const SampleFormat& format) {
    for (Voice* voice : voices_) {
        if (voice->playing) {
            MixVoiceLocked(*voice, mix, frames, format);
        }
    }
    masterGain_.MoveTo(VolumePanGain(masterVolume, masterPan), RampFrames(format.rate));
    if (masterGain_.RemainingFrames() == 0 && masterGain_.Current() == StereoGain{}) {
        return;
    }
    for (DWORD frame = 0; frame < frames; ++frame) {
        const StereoGain gain = masterGain_.Step();
        if (format.channels == 2) {
            mix[2 * frame] *= gain.left;
            mix[2 * frame + 1] *= gain.right;
        } else {
            mix[frame] *= (gain.left + gain.right) * 0.5f;
        }
    }
}

void Engine::MixVoiceLocked(Voice& voice, float* mix, DWORD frames, const SampleFormat& format) {
    const SoundMemory& memory = *voice.memory;
    StereoGain target = voice.VolumePanGainCached();
    if (voice.flags & DSBCAPS_CTRL3D) {
        target = target * SpatialGain(voice.spatial, listener,
                                      (voice.flags & DSBCAPS_MUTE3DATMAXDISTANCE) != 0);
    }
    if (voice.starting) {
        voice.gain.Jump(target);
        voice.starting = false;
    } else {
        voice.gain.MoveTo(target, RampFrames(format.rate));
    }

    const ResampleSource source{memory.bytes.data(), memory.Frames(), memory.format, voice.looping};
    const auto fromFrame = static_cast<DWORD>(voice.position >> 32);
    voiceScratch_.resize(static_cast<std::size_t>(frames) * memory.format.channels);
    const ResampleResult result =
        Resample(source, &voice.position, ResampleStep(voice.frequency, format.rate),
                 voiceScratch_.data(), frames);
    MixInto(mix, format.channels, voiceScratch_.data(), memory.format.channels, result.written,
            voice.gain);

    if (!voice.notifications.empty()) {
        const std::uint64_t toFrame =
            result.ended
                ? source.frames
                : static_cast<std::uint64_t>(result.wraps) * source.frames + (voice.position >> 32);
        const DWORD cycleBytes = source.frames * memory.format.blockAlign;
        CollectPassed(voice.notifications, fromFrame * memory.format.blockAlign,
                      (toFrame - fromFrame) * memory.format.blockAlign, cycleBytes,
                      &pendingEvents_);
    }
    if (result.ended) {
        voice.playing = false;
        voice.position = 0;
        CollectStop(voice.notifications, &pendingEvents_);
    }
}

} // namespace winapi::dsound
