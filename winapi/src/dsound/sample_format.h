#pragma once
// Sample encodings of buffers and of the output, read from and written to raw little-endian bytes.

#include <mmsystem.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace winapi::dsound {

enum class SampleEncoding { U8, S16, S24, S32, F32 };

struct SampleFormat {
    SampleEncoding encoding = SampleEncoding::U8;
    DWORD channels = 2;
    DWORD rate = 22050;
    DWORD blockAlign = 2;
};

// Reads a plain or extensible format record into `format` and copies the record itself into
// `record` (for GetFormat). DSERR_INVALIDPARAM for a record that contradicts itself,
// DSERR_BADFORMAT for one the mixer does not play (compressed data, more than two channels,
// sample widths other than 8, 16, 24 and 32 bits).
HRESULT ParseWaveFormat(const WAVEFORMATEX* source, SampleFormat* format,
                        std::vector<BYTE>* record);

// A plain PCM record.
std::vector<BYTE> PcmFormatRecord(WORD channels, DWORD rate, WORD bitsPerSample);

// GetFormat for a buffer whose format record is `record`: with a null destination it only tells
// the size; a destination smaller than the record is refused.
HRESULT CopyFormatRecord(const std::vector<BYTE>& record, LPWAVEFORMATEX format,
                         DWORD sizeAllocated, LPDWORD sizeWritten);

inline DWORD BytesPerSample(SampleEncoding encoding) {
    switch (encoding) {
    case SampleEncoding::U8:
        return 1;
    case SampleEncoding::S16:
        return 2;
    case SampleEncoding::S24:
        return 3;
    case SampleEncoding::S32:
    case SampleEncoding::F32:
        return 4;
    }
    return 1;
}

// One sample as a value in [-1, 1) ([-1, 1] for floats).
template <SampleEncoding encoding> inline float DecodeSample(const BYTE* p) {
    if constexpr (encoding == SampleEncoding::U8) {
        return (static_cast<int>(p[0]) - 128) * (1.0f / 128.0f);
    } else if constexpr (encoding == SampleEncoding::S16) {
        const auto value = static_cast<std::int16_t>(p[0] | (p[1] << 8));
        return value * (1.0f / 32768.0f);
    } else if constexpr (encoding == SampleEncoding::S24) {
        const std::uint32_t raw = p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
        const auto value = static_cast<std::int32_t>(raw << 8) >> 8;
        return value * (1.0f / 8388608.0f);
    } else if constexpr (encoding == SampleEncoding::S32) {
        const std::uint32_t raw = p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16) |
                                  (static_cast<std::uint32_t>(p[3]) << 24);
        return static_cast<float>(static_cast<std::int32_t>(raw) * (1.0 / 2147483648.0));
    } else {
        float value;
        std::memcpy(&value, p, sizeof value);
        // Any float may sit in a buffer. Clipped to full scale here (infinities included) and with
        // a NaN as silence, a sample cannot make the interpolation or the sum of voices overflow
        // or turn to NaN, which the conversion to the output's integers could not take.
        return std::isnan(value) ? 0.0f : std::clamp(value, -1.0f, 1.0f);
    }
}

// The byte pattern of silence: 0x80 for unsigned 8-bit samples, 0 for all others.
BYTE SilenceByte(SampleEncoding encoding);

// Writes `count` samples, clipped to full scale and rounded to the nearest step.
void EncodeSamples(const float* samples, std::size_t count, SampleEncoding encoding, BYTE* out);

} // namespace winapi::dsound
