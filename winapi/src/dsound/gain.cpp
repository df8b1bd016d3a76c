// Channel gains and their ramps.

#include "dsound/gain.h"

#include <dsound.h>

#include <cmath>
#include <cstddef>

namespace winapi::dsound {
namespace {

template <DWORD outputChannels, DWORD sourceChannels>
inline void AddFrame(float* mix, const float* source, StereoGain gain) {
    if constexpr (outputChannels == 2 && sourceChannels == 1) {
        mix[0] += source[0] * gain.left;
        mix[1] += source[0] * gain.right;
    } else if constexpr (outputChannels == 2 && sourceChannels == 2) {
        mix[0] += source[0] * gain.left;
        mix[1] += source[1] * gain.right;
    } else if constexpr (outputChannels == 1 && sourceChannels == 1) {
        mix[0] += source[0] * (gain.left + gain.right) * 0.5f;
    } else {
        mix[0] += (source[0] * gain.left + source[1] * gain.right) * 0.5f;
    }
}

template <DWORD outputChannels, DWORD sourceChannels>
void MixFrames(float* mix, const float* source, DWORD frames, GainRamp& ramp) {
    DWORD frame = 0;
    for (; frame < frames && ramp.RemainingFrames() > 0; ++frame) {
        AddFrame<outputChannels, sourceChannels>(mix + frame * outputChannels,
                                                 source + frame * sourceChannels, ramp.Step());
    }
    // The steady part: a plain loop over a scratch block that cannot overlap the mix, which the
    // compiler turns into vector code.
    const StereoGain gain = ramp.Current();
    float* __restrict to = mix + static_cast<std::size_t>(frame) * outputChannels;
    const float* __restrict from = source + static_cast<std::size_t>(frame) * sourceChannels;
    // Indexes as wide as pointers: with 32-bit ones the compiler must allow for them wrapping.
    const std::size_t rest = frames - frame;
    for (std::size_t i = 0; i < rest; ++i) {
        AddFrame<outputChannels, sourceChannels>(to + i * outputChannels, from + i * sourceChannels,
                                                 gain);
    }
}

} // namespace

float DecibelsToGain(LONG hundredths) {
    if (hundredths <= DSBVOLUME_MIN) {
        return 0.0f;
    }
    if (hundredths >= 0) {
        return 1.0f;
    }
    return std::pow(10.0f, static_cast<float>(hundredths) / 2000.0f);
}

StereoGain VolumePanGain(LONG volume, LONG pan) {
    const float gain = DecibelsToGain(volume);
    StereoGain result{gain, gain};
    if (pan > 0) {
        result.left *= DecibelsToGain(-pan);
    } else if (pan < 0) {
        result.right *= DecibelsToGain(pan);
    }
    return result;
}

StereoGain operator*(const StereoGain& a, const StereoGain& b) {
    return {a.left * b.left, a.right * b.right};
}

void GainRamp::Jump(StereoGain gain) {
    current_ = gain;
    target_ = gain;
    remaining_ = 0;
}

void GainRamp::MoveTo(StereoGain gain, DWORD frames) {
    if (gain == target_) {
        return;
    }
    if (frames == 0) {
        Jump(gain);
        return;
    }
    target_ = gain;
    remaining_ = frames;
    increment_ = {(gain.left - current_.left) / static_cast<float>(frames),
                  (gain.right - current_.right) / static_cast<float>(frames)};
}

StereoGain GainRamp::Step() {
    if (remaining_ == 0) {
        return current_;
    }
    --remaining_;
    if (remaining_ == 0) {
        current_ = target_;
    } else {
        current_.left += increment_.left;
        current_.right += increment_.right;
    }
    return current_;
}

void MixInto(float* mix, DWORD outputChannels, const float* source, DWORD sourceChannels,
             DWORD frames, GainRamp& ramp) {
    if (outputChannels == 2) {
        if (sourceChannels == 1) {
            MixFrames<2, 1>(mix, source, frames, ramp);
        } else {
            MixFrames<2, 2>(mix, source, frames, ramp);
        }
    } else if (sourceChannels == 1) {
        MixFrames<1, 1>(mix, source, frames, ramp);
    } else {
        MixFrames<1, 2>(mix, source, frames, ramp);
    }
}

} // namespace winapi::dsound
