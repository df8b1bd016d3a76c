#pragma once
// Volume and pan in hundredths of a decibel turned into channel gains, and the short ramp that
// carries a playing voice from one gain to the next so that a change does not click.

#include <windows.h>

namespace winapi::dsound {

struct StereoGain {
    float left = 1.0f;
    float right = 1.0f;

    bool operator==(const StereoGain&) const = default;
};

// 10^(hundredths / 2000); DSBVOLUME_MIN and below are silence.
float DecibelsToGain(LONG hundredths);

// Pan attenuates the other side only: at DSBPAN_RIGHT the left channel is silent and the right
// one keeps the full volume.
StereoGain VolumePanGain(LONG volume, LONG pan);

StereoGain operator*(const StereoGain& a, const StereoGain& b);

class GainRamp {
public:
    // Takes the gain at once (a voice that starts playing).
    void Jump(StereoGain gain);
    // Moves to the gain linearly over `frames` output frames; a target already set is kept.
    void MoveTo(StereoGain gain, DWORD frames);

    StereoGain Current() const { return current_; }
    DWORD RemainingFrames() const { return remaining_; }

    // Gain for the next frame while ramping.
    StereoGain Step();

private:
    StereoGain current_;
    StereoGain target_;
    StereoGain increment_{0.0f, 0.0f};
    DWORD remaining_ = 0;
};

// Adds `frames` frames of `source` (sourceChannels per frame) into `mix` (outputChannels per
// frame), scaled by the ramp's gains. Mono sources go to both sides; stereo sources keep their
// sides; a mono output takes the average of the two sides.
void MixInto(float* mix, DWORD outputChannels, const float* source, DWORD sourceChannels,
             DWORD frames, GainRamp& ramp);

} // namespace winapi::dsound
