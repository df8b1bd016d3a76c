#pragma once
// The mixer's view of one secondary buffer. Every field is guarded by the engine's lock.

#include "dsound/gain.h"
#include "dsound/sample_format.h"
#include "sync/event.h"

#include <dsound.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace winapi::dsound {

// Sound memory, shared by a buffer and its duplicates. The mixer plays `bytes`, under the engine's
// lock. The application never touches them: Lock hands out the same places in `staging`, which
// the application writes without any lock, and Unlock copies the unlocked regions into `bytes`
// under the lock. Both hold the same sound except in regions locked and not yet unlocked.
struct SoundMemory {
    std::vector<BYTE> bytes;
    std::vector<BYTE> staging;
    SampleFormat format;
    std::vector<BYTE> formatRecord;

    DWORD Frames() const { return static_cast<DWORD>(bytes.size() / format.blockAlign); }
};

// A position notification with its event, found when the positions are set so that the mixer
// signals it without looking up the handle.
struct Notification : DSBPOSITIONNOTIFY {
    std::shared_ptr<sync::Event> event; // null when the handle names no event
};

struct Voice {
    std::shared_ptr<SoundMemory> memory;
    DWORD flags = 0;

    bool playing = false;
    bool looping = false;
    bool lost = false;
    bool starting = false;      // takes its gain at once on the next mix, without a ramp
    std::uint64_t position = 0; // source frames, 32.32 fixed point

    DWORD frequency = 0;
    LONG volume = DSBVOLUME_MAX;
    LONG pan = DSBPAN_CENTER;
    GainRamp gain;

    std::vector<Notification> notifications;

    DS3DBUFFER spatial{};
    std::optional<DS3DBUFFER> deferredSpatial; // waiting for CommitDeferredSettings

    // The gains of volume and pan, worked out again only when either has changed: the powers
    // behind them would otherwise cost every voice a few every block.
    StereoGain VolumePanGainCached() {
        if (volume != cachedVolume_ || pan != cachedPan_) {
            cachedVolume_ = volume;
            cachedPan_ = pan;
            cachedGain_ = VolumePanGain(volume, pan);
        }
        return cachedGain_;
    }

    DWORD PlayCursor() const {
        return static_cast<DWORD>(position >> 32) * memory->format.blockAlign;
    }

private:
    LONG cachedVolume_ = DSBVOLUME_MAX;
    LONG cachedPan_ = DSBPAN_CENTER;
    StereoGain cachedGain_; // of DSBVOLUME_MAX at the centre: full on both sides
};

} // namespace winapi::dsound
