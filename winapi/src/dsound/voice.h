#pragma once
// The mixer's view of one secondary buffer. Every field is guarded by the engine's lock.

#include "dsound/gain.h"
#include "dsound/sample_format.h"

#include <dsound.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace winapi::dsound {

// Sound memory, shared by a buffer and its duplicates.
struct SoundMemory {
    std::vector<BYTE> bytes;
    SampleFormat format;
    std::vector<BYTE> formatRecord;

    DWORD Frames() const { return static_cast<DWORD>(bytes.size() / format.blockAlign); }
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

    std::vector<DSBPOSITIONNOTIFY> notifications;

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
