// Linear-interpolation resampling, one kernel per sample encoding and channel count.

#include "dsound/resampler.h"

namespace winapi::dsound {
namespace {

constexpr float kFractionScale = 1.0f / 4294967296.0f;

template <SampleEncoding encoding, DWORD channels>
ResampleResult Kernel(const ResampleSource& source, std::uint64_t* position, std::uint64_t step,
                      float* out, DWORD count) {
    constexpr DWORD sampleBytes = encoding == SampleEncoding::U8    ? 1
                                  : encoding == SampleEncoding::S16 ? 2
                                  : encoding == SampleEncoding::S24 ? 3
                                                                    : 4;
    const DWORD stride = source.format.blockAlign;
    const std::uint64_t end = static_cast<std::uint64_t>(source.frames) << 32;
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
        const auto index = static_cast<DWORD>(at >> 32);
        const float fraction = static_cast<float>(at & 0xFFFFFFFFu) * kFractionScale;
        const BYTE* current = source.data + static_cast<std::size_t>(index) * stride;
        const BYTE* next = index + 1 < source.frames ? current + stride
                           : source.looping          ? source.data
                                                     : nullptr;
        for (DWORD channel = 0; channel < channels; ++channel) {
            const float a = DecodeSample<encoding>(current + channel * sampleBytes);
            const float b =
                next != nullptr ? DecodeSample<encoding>(next + channel * sampleBytes) : 0.0f;
            out[frame * channels + channel] = a + (b - a) * fraction;
        }
        at += step;
        ++result.written;
    }
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
