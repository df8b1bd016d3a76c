#pragma once
// The mixer of one device: its voices, its listener, its output format and its sink. Buffer
// methods and the mixing thread share one lock; the lock is held only while state is read or
// changed and while one sub-block is mixed and its notifications signalled. Mixing never
// allocates and takes no other lock: everything it needs is made beforehand.

#include "dsound/output_sink.h"
#include "dsound/voice.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace winapi::dsound {

// Render mixes in blocks of at most this many frames.
inline constexpr DWORD kBlockFrames = 256;

// Render signals the notifications passed after every sub-block of at most 5 ms.
DWORD SubBlockFrames(DWORD rate);

// True while the calling thread is inside Engine::Render.
bool MixingOnThisThread();

class Engine final : public MixSource {
public:
    // Mixes into the sink that `makeSink` makes, or, with none, only when Render is called.
    explicit Engine(SinkFactory makeSink);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    std::mutex& Lock() { return mutex_; }

    // Voices take part in the mix from AddVoice to RemoveVoice. Both take the lock.
    void AddVoice(Voice* voice);
    void RemoveVoice(Voice* voice);

    void Render(BYTE* out, DWORD frames, const SampleFormat& format,
                NotificationPacer* pacer = nullptr) override;

    bool Offline() const { return offline_; }

    // The primary buffer's format; SetOutputFormat reopens the output in the new format.
    SampleFormat OutputFormat();
    std::vector<BYTE> OutputFormatRecord();
    void SetOutputFormat(const SampleFormat& format, std::vector<BYTE> record);

    // Frames mixed since the device was made.
    std::uint64_t FramesRendered();
    bool AnyVoicePlaying();

    // Makes room for `count` more pending notifications than the voices have now, so that mixing
    // never grows the list. The unlocked form allocates outside the lock; the locked one, called
    // just before the notifications are added, only in the rare case that room ran short since.
    void ReserveNotifications(std::size_t count);
    void ReserveNotificationsLocked(std::size_t count);

    // Marks every voice lost and stops it. Takes the lock.
    void LoseAllVoices();

    std::atomic<DWORD> cooperativeLevel{0};

    // Guarded by the lock.
    DS3DLISTENER listener;
    std::optional<DS3DLISTENER> deferredListener;
    LONG masterVolume = DSBVOLUME_MAX;
    LONG masterPan = DSBPAN_CENTER;
    bool primaryPlaying = false;

    // Applies every deferred 3D setting of the listener and the voices. Call with the lock held.
    void CommitDeferredLocked();

private:
    void MixBlockLocked(float* mix, DWORD frames, const SampleFormat& format);
    void MixVoiceLocked(Voice& voice, float* mix, DWORD frames, const SampleFormat& format);
    void StartSink();
    std::size_t PendingRoomNeededLocked(std::size_t count) const;

    std::mutex mutex_;
    std::vector<Voice*> voices_;
    SampleFormat format_;
    std::vector<BYTE> formatRecord_;
    std::uint64_t framesRendered_ = 0;
    GainRamp masterGain_;
    std::vector<float> mix_;
    std::vector<float> voiceScratch_;
    // The events passed in a sub-block (the voices' own), signalled and cleared after it.
    std::vector<const std::shared_ptr<sync::Event>*> pendingEvents_;

    std::mutex sinkMutex_; // serialises changes of the output; never taken inside mutex_
    std::unique_ptr<OutputSink> sink_;
    bool offline_ = false;
};

} // namespace winapi::dsound
