// Resampling, one kernel per sample encoding and channel count. At or below the output rate a
// voice is interpolated linearly between neighbouring frames; above it, a windowed-sinc low-pass
// at the output's band edge is evaluated at each output position, so that what the output cannot
// carry is removed instead of folding back into the audible band.

#include "dsound/resampler.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

namespace winapi::dsound {
namespace {

constexpr float kFractionScale = 1.0f / 16777216.0f; // of the top 24 bits of the fraction
constexpr std::uint64_t kOne = std::uint64_t{1} << 32;

// Where a run of frames leaves the position: past the end a looping sound wraps (and counts it),
// a one-shot ends.
ResampleResult Settle(const ResampleSource& source, std::uint64_t at, std::uint64_t end,
                      std::uint64_t* position, ResampleResult result) {
    if (at >= end) {
        if (source.looping) {
            result.wraps += static_cast<DWORD>(at / end);
            at %= end;
        } else {
            result.ended = true;
        }
    }
    *position = at;
    return result;
}

template <SampleEncoding encoding> constexpr DWORD SampleBytes() {
    return encoding == SampleEncoding::U8    ? 1
           : encoding == SampleEncoding::S16 ? 2
           : encoding == SampleEncoding::S24 ? 3
                                             : 4;
}

// Output frames are made this many at a time from a block of decoded source frames.
constexpr DWORD kChunkFrames = 256;
constexpr DWORD kLaneFrames = 64;

// Decodes `count` samples in a row into floats: a simple loop the compiler can vectorize.
template <SampleEncoding encoding> void DecodeRow(const BYTE* data, std::size_t count, float* out) {
    if constexpr (encoding == SampleEncoding::S16 && std::endian::native == std::endian::little) {
        for (std::size_t i = 0; i < count; ++i) {
            std::int16_t value;
            std::memcpy(&value, data + 2 * i, sizeof value);
            out[i] = static_cast<float>(value) * (1.0f / 32768.0f);
        }
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            out[i] = DecodeSample<encoding>(data + i * SampleBytes<encoding>());
        }
    }
}

// `run` frames whose position and next frame both lie inside the sound, at most one source frame
// per output frame: no end to watch for, so each chunk's source frames are decoded in one go and
// then interpolated without branches.
template <SampleEncoding encoding, DWORD channels>
void LinearRun(const BYTE* data, DWORD stride, std::uint64_t at, std::uint64_t step, float* out,
               DWORD run) {
    float decoded[(kChunkFrames + 2) * channels];
    while (run > 0) {
        const DWORD chunk = std::min(run, kChunkFrames);
        const auto first = static_cast<std::size_t>(at >> 32);
        const std::uint64_t lastAt = at + static_cast<std::uint64_t>(chunk - 1) * step;
        const std::size_t span = static_cast<std::size_t>(lastAt >> 32) - first + 2;
        DecodeRow<encoding>(data + first * stride, span * channels, decoded);
        if (step == kOne && (at & 0xFFFFFFFFu) == 0) {
            // At the output's own rate with no fraction: the decoded frames themselves.
            std::memcpy(out, decoded, sizeof(float) * chunk * channels);
        } else {
            // Positions relative to the chunk's first frame, in 9.23 fixed point so that a frame's
            // arithmetic fits one 32-bit lane. Each run of kLaneFrames restarts from the exact
            // position, so the step's dropped bits cannot add up to anything audible; both are
            // rounded down, so no position passes the frames decoded.
            std::uint64_t local = at - (static_cast<std::uint64_t>(first) << 32);
            const auto laneStep = static_cast<std::uint32_t>(step >> 9);
            for (DWORD done = 0; done < chunk; done += kLaneFrames) {
                const DWORD lanes = std::min(kLaneFrames, chunk - done);
                const auto base = static_cast<std::uint32_t>(local >> 9);
                float* laneOut = out + static_cast<std::size_t>(done) * channels;
                for (DWORD i = 0; i < lanes; ++i) {
                    const std::uint32_t p = base + i * laneStep;
                    const float* current = decoded + (p >> 23) * channels;
                    const float fraction =
                        static_cast<float>(static_cast<std::int32_t>(p & 0x7FFFFFu)) *
                        (1.0f / 8388608.0f);
                    for (DWORD channel = 0; channel < channels; ++channel) {
                        const float a = current[channel];
                        const float b = current[channels + channel];
                        laneOut[i * channels + channel] = a + (b - a) * fraction;
                    }
                }
                local += static_cast<std::uint64_t>(lanes) * step;
            }
        }
        at += static_cast<std::uint64_t>(chunk) * step;
        out += static_cast<std::size_t>(chunk) * channels;
        run -= chunk;
    }
}

template <SampleEncoding encoding, DWORD channels>
ResampleResult Linear(const ResampleSource& source, std::uint64_t* position, std::uint64_t step,
                      float* out, DWORD count) {
    constexpr DWORD sampleBytes = SampleBytes<encoding>();
    const DWORD stride = source.format.blockAlign;
    const std::uint64_t end = static_cast<std::uint64_t>(source.frames) << 32;
    // Below this position the next frame is inside the sound too.
    const std::uint64_t inner = static_cast<std::uint64_t>(source.frames - 1) << 32;
    std::uint64_t at = *position;
    ResampleResult result;
    DWORD frame = 0;
    while (frame < count) {
        if (at >= end) {
            if (!source.looping) {
                result.ended = true;
                break;
            }
            result.wraps += static_cast<DWORD>(at / end);
            at %= end;
        }
        if (at < inner) {
            const std::uint64_t left = count - frame;
            const DWORD run = static_cast<DWORD>(
                step == 0 ? left : std::min<std::uint64_t>(left, (inner - at + step - 1) / step));
            LinearRun<encoding, channels>(source.data, stride, at, step, out + frame * channels,
                                          run);
            at += run * step;
            frame += run;
            result.written += run;
            continue;
        }
        // The last frame: towards the first one when looping, else towards silence.
        const float fraction =
            static_cast<float>(static_cast<std::int32_t>((at & 0xFFFFFFFFu) >> 8)) * kFractionScale;
        const BYTE* current = source.data + static_cast<std::size_t>(at >> 32) * stride;
        for (DWORD channel = 0; channel < channels; ++channel) {
            const float a = DecodeSample<encoding>(current + channel * sampleBytes);
            const float b =
                source.looping ? DecodeSample<encoding>(source.data + channel * sampleBytes) : 0.0f;
            out[frame * channels + channel] = a + (b - a) * fraction;
        }
        at += step;
        ++frame;
        ++result.written;
    }
    return Settle(source, at, end, position, result);
}

// The low-pass kernel: a Blackman-windowed sinc with kZeroCrossings zero crossings a side,
// tabulated over [0, kZeroCrossings] at kTableSteps points per unit.
constexpr int kZeroCrossings = 8;
constexpr int kTableSteps = 128;
constexpr int kTableSize = kZeroCrossings * kTableSteps + 2;
// The pass band ends this far up to the output's Nyquist frequency; the window's transition
// band then lies mostly above it.
constexpr double kCutoff = 0.9;

const std::array<float, kTableSize>& SincTable() {
    static const std::array<float, kTableSize> table = [] {
        std::array<float, kTableSize> values{};
        constexpr double pi = 3.14159265358979323846;
        for (int i = 0; i < kTableSize; ++i) {
            const double x = static_cast<double>(i) / kTableSteps;
            if (x >= kZeroCrossings) {
                continue;
            }
            const double sinc = i == 0 ? 1.0 : std::sin(pi * x) / (pi * x);
            const double w = x / kZeroCrossings;
            const double window = 0.42 + 0.5 * std::cos(pi * w) + 0.08 * std::cos(2.0 * pi * w);
            values[i] = static_cast<float>(sinc * window);
        }
        return values;
    }();
    return table;
}

inline float SincAt(const std::array<float, kTableSize>& table, float x) {
    const float at = std::fabs(x) * static_cast<float>(kTableSteps);
    const auto index = static_cast<int>(at);
    if (index >= kTableSize - 1) {
        return 0.0f;
    }
    const float fraction = at - static_cast<float>(index);
    return table[index] + (table[index + 1] - table[index]) * fraction;
}

// Frames faster than the output: each output frame is the low-passed sound at its position. Frames
// outside a one-shot sound are silence; a looping sound is read round its seam.
template <SampleEncoding encoding, DWORD channels>
ResampleResult Filtered(const ResampleSource& source, std::uint64_t* position, std::uint64_t step,
                        float* out, DWORD count) {
    constexpr DWORD sampleBytes = SampleBytes<encoding>();
    const auto& table = SincTable();
    const DWORD stride = source.format.blockAlign;
    const auto frames = static_cast<std::int64_t>(source.frames);
    const std::uint64_t end = static_cast<std::uint64_t>(source.frames) << 32;
    // Kernel units per source frame: the cut-off moves down with the speed.
    const double speed = static_cast<double>(step) / static_cast<double>(kOne);
    const auto scale = static_cast<float>(kCutoff / speed);
    const int reach = static_cast<int>(std::ceil(kZeroCrossings / scale));
    const auto taps = static_cast<std::size_t>(2 * reach);
    std::vector<float> weights(taps);
    float weightsFraction = -1.0f; // none worked out yet
    float weightSum = 0.0f;
    std::uint64_t at = *position;
    ResampleResult result;
    for (DWORD frame = 0; frame < count; ++frame) {
        if (at >= end) {
            if (!source.looping) {
                result.ended = true;
                break;
            }
            result.wraps += static_cast<DWORD>(at / end);
            at %= end;
        }
        const auto index = static_cast<std::int64_t>(at >> 32);
        const float fraction = static_cast<float>(at & 0xFFFFFFFFu) * (1.0f / 4294967296.0f);
        const std::int64_t first = index - reach + 1;
        const std::int64_t last = index + reach;
        // The weights depend on the fraction alone; at a whole-number speed (2:1 into the game's
        // 22050 Hz output) it never changes, and they are worked out once.
        if (fraction != weightsFraction) {
            weightsFraction = fraction;
            weightSum = 0.0f;
            for (std::size_t t = 0; t < taps; ++t) {
                const auto offset = static_cast<float>(static_cast<std::int64_t>(t) - reach + 1);
                weights[t] = SincAt(table, (offset - fraction) * scale);
                weightSum += weights[t];
            }
        }
        float sums[channels] = {};
        if (first >= 0 && last < frames) {
            const BYTE* row = source.data + static_cast<std::size_t>(first) * stride;
            for (std::size_t t = 0; t < taps; ++t) {
                for (DWORD channel = 0; channel < channels; ++channel) {
                    sums[channel] += weights[t] * DecodeSample<encoding>(row + t * stride +
                                                                         channel * sampleBytes);
                }
            }
        } else {
            for (std::size_t t = 0; t < taps; ++t) {
                std::int64_t k = first + static_cast<std::int64_t>(t);
                if (source.looping) {
                    k = ((k % frames) + frames) % frames;
                } else if (k < 0 || k >= frames) {
                    continue;
                }
                const BYTE* p = source.data + static_cast<std::size_t>(k) * stride;
                for (DWORD channel = 0; channel < channels; ++channel) {
                    sums[channel] += weights[t] * DecodeSample<encoding>(p + channel * sampleBytes);
                }
            }
        }
        // Normalised by the weights' own sum, a constant passes at exactly its level.
        const float gain = weightSum != 0.0f ? 1.0f / weightSum : 0.0f;
        for (DWORD channel = 0; channel < channels; ++channel) {
            out[frame * channels + channel] = sums[channel] * gain;
        }
        at += step;
        ++result.written;
    }
    return Settle(source, at, end, position, result);
}

template <SampleEncoding encoding, DWORD channels>
ResampleResult Kernel(const ResampleSource& source, std::uint64_t* position, std::uint64_t step,
                      float* out, DWORD count) {
    return step > kOne ? Filtered<encoding, channels>(source, position, step, out, count)
                       : Linear<encoding, channels>(source, position, step, out, count);
}

template <SampleEncoding encoding>
ResampleResult ForChannels(const ResampleSource& source, std::uint64_t* position,
                           std::uint64_t step, float* out, DWORD count) {
    return source.format.channels == 1 ? Kernel<encoding, 1>(source, position, step, out, count)
                                       : Kernel<encoding, 2>(source, position, step, out, count);
}

} // namespace

std::uint64_t ResampleStep(DWORD frequency, DWORD outputRate) {
    return (static_cast<std::uint64_t>(frequency) << 32) / outputRate;
}

ResampleResult Resample(const ResampleSource& source, std::uint64_t* position, std::uint64_t step,
                        float* out, DWORD count) {
    if (source.frames == 0) {
        return {0, 0, true};
    }
    switch (source.format.encoding) {
    case SampleEncoding::U8:
        return ForChannels<SampleEncoding::U8>(source, position, step, out, count);
    case SampleEncoding::S16:
        return ForChannels<SampleEncoding::S16>(source, position, step, out, count);
    case SampleEncoding::S24:
        return ForChannels<SampleEncoding::S24>(source, position, step, out, count);
    case SampleEncoding::S32:
        return ForChannels<SampleEncoding::S32>(source, position, step, out, count);
    case SampleEncoding::F32:
        return ForChannels<SampleEncoding::F32>(source, position, step, out, count);
    }
    return {};
}

} // namespace winapi::dsound
