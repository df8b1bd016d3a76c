// Format records in, encoded samples out.

#include "dsound/sample_format.h"

#include <dsound.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace winapi::dsound {
namespace {

constexpr std::size_t kExtensibleExtraBytes = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);

HRESULT EncodingFor(bool isFloat, WORD bits, SampleEncoding* encoding) {
    if (isFloat) {
        if (bits != 32) {
            return DSERR_BADFORMAT;
        }
        *encoding = SampleEncoding::F32;
        return DS_OK;
    }
    switch (bits) {
    case 8:
        *encoding = SampleEncoding::U8;
        return DS_OK;
    case 16:
        *encoding = SampleEncoding::S16;
        return DS_OK;
    case 24:
        *encoding = SampleEncoding::S24;
        return DS_OK;
    case 32:
        *encoding = SampleEncoding::S32;
        return DS_OK;
    default:
        return DSERR_BADFORMAT;
    }
}

template <typename Integer>
void EncodeIntegers(const float* samples, std::size_t count, double scale, std::size_t width,
                    BYTE* out) {
    const double low = -scale;
    const double high = scale - 1.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double value = std::clamp(std::nearbyint(samples[i] * scale), low, high);
        const auto bits = static_cast<std::uint32_t>(static_cast<Integer>(value));
        for (std::size_t b = 0; b < width; ++b) {
            out[i * width + b] = static_cast<BYTE>(bits >> (8 * b));
        }
    }
}

} // namespace

HRESULT ParseWaveFormat(const WAVEFORMATEX* source, SampleFormat* format,
                        std::vector<BYTE>* record) {
    if (source == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    const WAVEFORMATEX head = *source;
    bool isFloat = false;
    WORD validBits = head.wBitsPerSample;
    std::size_t recordSize = sizeof(WAVEFORMATEX);
    switch (head.wFormatTag) {
    case WAVE_FORMAT_PCM:
        break;
    case WAVE_FORMAT_IEEE_FLOAT:
        isFloat = true;
        break;
    case WAVE_FORMAT_EXTENSIBLE: {
        if (head.cbSize < kExtensibleExtraBytes) {
            return DSERR_INVALIDPARAM;
        }
        WAVEFORMATEXTENSIBLE extensible;
        std::memcpy(&extensible, source, sizeof extensible);
        if (extensible.SubFormat == KSDATAFORMAT_SUBTYPE_IEEE_FLOAT) {
            isFloat = true;
        } else if (!(extensible.SubFormat == KSDATAFORMAT_SUBTYPE_PCM)) {
            return DSERR_BADFORMAT;
        }
        if (extensible.Samples.wValidBitsPerSample != 0) {
            validBits = extensible.Samples.wValidBitsPerSample;
        }
        recordSize = sizeof(WAVEFORMATEXTENSIBLE);
        break;
    }
    default:
        return DSERR_BADFORMAT;
    }
    if (head.nChannels == 0 || head.wBitsPerSample == 0 || head.wBitsPerSample % 8 != 0 ||
        validBits > head.wBitsPerSample ||
        head.nBlockAlign != head.nChannels * (head.wBitsPerSample / 8)) {
        return DSERR_INVALIDPARAM;
    }
    if (head.nChannels > 2 || head.nSamplesPerSec < DSBFREQUENCY_MIN ||
        head.nSamplesPerSec > DSBFREQUENCY_MAX) {
        return DSERR_BADFORMAT;
    }
    SampleEncoding encoding;
    if (const HRESULT result = EncodingFor(isFloat, head.wBitsPerSample, &encoding);
        FAILED(result)) {
        return result;
    }
    format->encoding = encoding;
    format->channels = head.nChannels;
    format->rate = head.nSamplesPerSec;
    format->blockAlign = head.nBlockAlign;
    const auto* bytes = reinterpret_cast<const BYTE*>(source);
    record->assign(bytes, bytes + recordSize);
    if (recordSize == sizeof(WAVEFORMATEX)) {
        // Plain records need not carry a meaningful cbSize; the copy says there is nothing after.
        (*record)[offsetof(WAVEFORMATEX, cbSize)] = 0;
        (*record)[offsetof(WAVEFORMATEX, cbSize) + 1] = 0;
    }
    return DS_OK;
}

std::vector<BYTE> PcmFormatRecord(WORD channels, DWORD rate, WORD bitsPerSample) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = bitsPerSample;
    format.nBlockAlign = static_cast<WORD>(channels * bitsPerSample / 8);
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    const auto* bytes = reinterpret_cast<const BYTE*>(&format);
    return {bytes, bytes + sizeof format};
}

BYTE SilenceByte(SampleEncoding encoding) {
    return encoding == SampleEncoding::U8 ? 0x80 : 0x00;
}

void EncodeSamples(const float* samples, std::size_t count, SampleEncoding encoding, BYTE* out) {
    switch (encoding) {
    case SampleEncoding::U8:
        for (std::size_t i = 0; i < count; ++i) {
            const float value = std::clamp(std::nearbyint(samples[i] * 128.0f), -128.0f, 127.0f);
            out[i] = static_cast<BYTE>(static_cast<int>(value) + 128);
        }
        return;
    case SampleEncoding::S16:
        EncodeIntegers<std::int16_t>(samples, count, 32768.0, 2, out);
        return;
    case SampleEncoding::S24:
        EncodeIntegers<std::int32_t>(samples, count, 8388608.0, 3, out);
        return;
    case SampleEncoding::S32:
        EncodeIntegers<std::int32_t>(samples, count, 2147483648.0, 4, out);
        return;
    case SampleEncoding::F32:
        for (std::size_t i = 0; i < count; ++i) {
            const float value = std::clamp(samples[i], -1.0f, 1.0f);
            std::memcpy(out + i * sizeof value, &value, sizeof value);
        }
        return;
    }
}

HRESULT CopyFormatRecord(const std::vector<BYTE>& record, LPWAVEFORMATEX format,
                         DWORD sizeAllocated, LPDWORD sizeWritten) {
    const auto size = static_cast<DWORD>(record.size());
    if (format == nullptr) {
        if (sizeWritten == nullptr) {
            return DSERR_INVALIDPARAM;
        }
        *sizeWritten = size;
        return DS_OK;
    }
    if (sizeAllocated < size) {
        return DSERR_INVALIDPARAM;
    }
    std::memcpy(format, record.data(), size);
    if (sizeWritten != nullptr) {
        *sizeWritten = size;
    }
    return DS_OK;
}

} // namespace winapi::dsound
