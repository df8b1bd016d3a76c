#pragma once
// A sound device that mixes only when a test asks, and small helpers to make and fill buffers.

#include "winapi/hooks/dsound.h"
#include "winapi/profile.h"

#include <dsound.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace dsound_test {

inline HWND TestWindow() {
    static HWND__ window;
    return &window;
}

inline WAVEFORMATEX PcmFormat(WORD channels, DWORD rate, WORD bits) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = bits;
    format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    return format;
}

inline DSBUFFERDESC Description(DWORD flags, DWORD bytes, WAVEFORMATEX* format,
                                const GUID& algorithm = GUID_NULL) {
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = flags;
    description.dwBufferBytes = bytes;
    description.lpwfxFormat = format;
    description.guid3DAlgorithm = algorithm;
    return description;
}

// Releases an interface at the end of a scope.
template <typename Interface> struct Releaser {
    Interface* pointer = nullptr;
    ~Releaser() {
        if (pointer != nullptr) {
            pointer->Release();
        }
    }
};

// While it lives, devices play through `profile`'s output, SDL's sound card being its dummy
// driver (no sound card needed); then the profile and the driver variable are as before.
class SoundOutputProfile {
public:
    explicit SoundOutputProfile(winapi::Profile profile)
        : savedProfile_(winapi::SelectedProfile()) {
        if (const char* driver = std::getenv("SDL_AUDIODRIVER")) {
            savedDriver_ = driver;
        }
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        winapi::SelectProfile(profile);
    }
    ~SoundOutputProfile() {
        winapi::SelectProfile(savedProfile_);
        if (savedDriver_) {
            setenv("SDL_AUDIODRIVER", savedDriver_->c_str(), 1);
        } else {
            unsetenv("SDL_AUDIODRIVER");
        }
    }
    SoundOutputProfile(const SoundOutputProfile&) = delete;
    SoundOutputProfile& operator=(const SoundOutputProfile&) = delete;

private:
    winapi::Profile savedProfile_;
    std::optional<std::string> savedDriver_;
};

class OfflineDevice : public ::testing::Test {
protected:
    void SetUp() override {
        winapi::SelectProfile(winapi::Profile::Offline);
        ASSERT_EQ(DirectSoundCreate8(nullptr, &device_, nullptr), DS_OK);
        ASSERT_EQ(device_->SetCooperativeLevel(TestWindow(), DSSCL_PRIORITY), DS_OK);
    }

    void TearDown() override {
        winapi::hooks::RefuseSoundRestores(0);
        for (IDirectSoundBuffer* buffer : buffers_) {
            buffer->Release();
        }
        device_->Release();
    }

    void SetOutputFormat(WORD channels, DWORD rate, WORD bits) {
        DSBUFFERDESC description = Description(DSBCAPS_PRIMARYBUFFER, 0, nullptr);
        IDirectSoundBuffer* primary = nullptr;
        ASSERT_EQ(device_->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
        WAVEFORMATEX format = PcmFormat(channels, rate, bits);
        EXPECT_EQ(primary->SetFormat(&format), DS_OK);
        primary->Release();
    }

    // A buffer released by the fixture; null (with a failed expectation) if creation fails.
    IDirectSoundBuffer* MakeBuffer(WAVEFORMATEX* format, DWORD bytes, DWORD flags = 0) {
        DSBUFFERDESC description = Description(flags, bytes, format);
        IDirectSoundBuffer* buffer = nullptr;
        EXPECT_EQ(device_->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
        if (buffer != nullptr) {
            buffers_.push_back(buffer);
        }
        return buffer;
    }

    // A buffer of the given bytes, written through Lock and Unlock.
    IDirectSoundBuffer* MakeFilledBuffer(WAVEFORMATEX format, const void* data, DWORD bytes,
                                         DWORD flags = 0) {
        IDirectSoundBuffer* buffer = MakeBuffer(&format, bytes, flags);
        if (buffer != nullptr) {
            Write(buffer, 0, data, bytes);
        }
        return buffer;
    }

    IDirectSoundBuffer* MakeSamples16(const std::vector<std::int16_t>& samples, WORD channels,
                                      DWORD rate, DWORD flags = 0) {
        return MakeFilledBuffer(PcmFormat(channels, rate, 16), samples.data(),
                                static_cast<DWORD>(samples.size() * 2), flags);
    }

    static void Write(IDirectSoundBuffer* buffer, DWORD offset, const void* data, DWORD bytes) {
        void* region = nullptr;
        DWORD regionBytes = 0;
        ASSERT_EQ(buffer->Lock(offset, bytes, &region, &regionBytes, nullptr, nullptr, 0), DS_OK);
        ASSERT_EQ(regionBytes, bytes);
        std::memcpy(region, data, bytes);
        ASSERT_EQ(buffer->Unlock(region, regionBytes, nullptr, 0), DS_OK);
    }

    std::vector<BYTE> Render(DWORD frames) {
        return winapi::hooks::RenderSoundMix(frames, device_);
    }

    // The mix of a 16-bit output, one element per sample.
    std::vector<std::int16_t> Render16(DWORD frames) {
        const std::vector<BYTE> bytes = Render(frames);
        std::vector<std::int16_t> samples(bytes.size() / 2);
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
        return samples;
    }

    IDirectSound8* device_ = nullptr;

private:
    std::vector<IDirectSoundBuffer*> buffers_;
};

} // namespace dsound_test
