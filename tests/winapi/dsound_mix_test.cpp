// The mixer's output, rendered offline and compared sample by sample with what was played.

#include "dsound_test_support.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

namespace {

using dsound_test::OfflineDevice;
using dsound_test::PcmFormat;

// A sound with no repeating pattern, well inside full scale.
std::vector<std::int16_t> Noise(std::size_t count, unsigned seed) {
    std::vector<std::int16_t> samples(count);
    unsigned state = seed;
    for (auto& sample : samples) {
        state = state * 1103515245u + 12345u;
        sample = static_cast<std::int16_t>(static_cast<int>((state >> 16) % 40000) - 20000);
    }
    return samples;
}

std::vector<std::int16_t> Constant(std::size_t count, std::int16_t value) {
    return std::vector<std::int16_t>(count, value);
}

void ExpectWithinOneStep(int actual, int expected, std::size_t index) {
    ASSERT_LE(std::abs(actual - expected), 1) << "at sample " << index;
}

class Mixer : public OfflineDevice {
protected:
    void SetUp() override {
        OfflineDevice::SetUp();
        SetOutputFormat(2, 44100, 16);
    }

    // The left and right gain of a playing constant buffer, read from one frame of the mix.
    std::pair<double, double> MeasureGains(DWORD frames = 512) {
        const std::vector<std::int16_t> mix = Render16(frames);
        return {mix[mix.size() - 2] / 16000.0, mix[mix.size() - 1] / 16000.0};
    }
};

TEST_F(Mixer, BufferAtTheOutputRateIsCopiedSampleForSampleToBothSides) {
    const auto wave = Noise(3000, 1);
    IDirectSoundBuffer* buffer = MakeSamples16(wave, 1, 44100);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    const auto mix = Render16(3100);
    for (std::size_t i = 0; i < wave.size(); ++i) {
        ExpectWithinOneStep(mix[2 * i], wave[i], i);
        ExpectWithinOneStep(mix[2 * i + 1], wave[i], i);
    }
    for (std::size_t i = 2 * wave.size(); i < mix.size(); ++i) {
        ASSERT_EQ(mix[i], 0) << "after the end, at sample " << i;
    }
}

TEST_F(Mixer, BufferAtHalfTheOutputRateIsInterpolatedBetweenNeighbours) {
    const auto wave = Noise(1000, 2);
    IDirectSoundBuffer* buffer = MakeSamples16(wave, 1, 22050);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    const auto mix = Render16(2 * 1000);
    for (std::size_t i = 0; i + 1 < wave.size(); ++i) {
        ExpectWithinOneStep(mix[4 * i], wave[i], i);
        ExpectWithinOneStep(mix[4 * i + 2], (wave[i] + wave[i + 1]) / 2, i);
    }
}

TEST_F(Mixer, StereoBufferKeepsItsSides) {
    const auto wave = Noise(2000, 3);
    IDirectSoundBuffer* buffer = MakeSamples16(wave, 2, 44100);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    const auto mix = Render16(1000);
    for (std::size_t i = 0; i < wave.size(); ++i) {
        ExpectWithinOneStep(mix[i], wave[i], i);
    }
}

TEST_F(Mixer, TwoOverlappingPlaysSum) {
    const auto first = Noise(2000, 4);
    const auto second = Noise(2000, 5);
    IDirectSoundBuffer* a = MakeSamples16(first, 1, 44100);
    IDirectSoundBuffer* b = MakeSamples16(second, 1, 44100);
    ASSERT_EQ(a->Play(0, 0, 0), DS_OK);
    const auto before = Render16(500);
    ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
    const auto overlap = Render16(1500);
    for (std::size_t i = 0; i < 500; ++i) {
        ExpectWithinOneStep(before[2 * i], first[i], i);
    }
    for (std::size_t i = 0; i < 1500; ++i) {
        const int sum = std::clamp(first[500 + i] + second[i], -32768, 32767);
        ExpectWithinOneStep(overlap[2 * i], sum, i);
    }
}

// The same waveform in every sample width, chosen so that each width holds it exactly.
TEST_F(Mixer, EveryIntegerWidthAndFloatGiveTheSameMix) {
    std::vector<std::int16_t> wave(400);
    for (std::size_t i = 0; i < wave.size(); ++i) {
        wave[i] = static_cast<std::int16_t>(((static_cast<int>(i) * 37) % 200 - 100) * 256);
    }
    const auto expected = [&] {
        IDirectSoundBuffer* reference = MakeSamples16(wave, 1, 44100);
        reference->Play(0, 0, 0);
        auto mix = Render16(400);
        reference->Stop();
        return mix;
    }();

    std::vector<BYTE> u8, s24, s32, f32;
    for (const std::int16_t sample : wave) {
        u8.push_back(static_cast<BYTE>((sample >> 8) + 128));
        const std::int32_t wide = sample * 65536;
        for (int b = 1; b < 4; ++b) {
            s24.push_back(static_cast<BYTE>(wide >> (8 * b)));
        }
        for (int b = 0; b < 4; ++b) {
            s32.push_back(static_cast<BYTE>(wide >> (8 * b)));
        }
        const float value = sample / 32768.0f;
        const auto* bytes = reinterpret_cast<const BYTE*>(&value);
        f32.insert(f32.end(), bytes, bytes + 4);
    }
    WAVEFORMATEX floatFormat = PcmFormat(1, 44100, 32);
    floatFormat.wFormatTag = WAVE_FORMAT_IEEE_FLOAT;
    WAVEFORMATEXTENSIBLE extensible{};
    extensible.Format = PcmFormat(1, 44100, 24);
    extensible.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    extensible.Format.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
    extensible.Samples.wValidBitsPerSample = 24;
    extensible.dwChannelMask = SPEAKER_FRONT_CENTER;
    extensible.SubFormat = KSDATAFORMAT_SUBTYPE_PCM;

    struct Case {
        const char* name;
        WAVEFORMATEX* format;
        const std::vector<BYTE>* data;
    };
    WAVEFORMATEX u8Format = PcmFormat(1, 44100, 8);
    WAVEFORMATEX s24Format = PcmFormat(1, 44100, 24);
    WAVEFORMATEX s32Format = PcmFormat(1, 44100, 32);
    for (const Case& c : {Case{"8-bit", &u8Format, &u8}, Case{"24-bit", &s24Format, &s24},
                          Case{"32-bit", &s32Format, &s32}, Case{"float", &floatFormat, &f32},
                          Case{"extensible 24-bit", &extensible.Format, &s24}}) {
        SCOPED_TRACE(c.name);
        IDirectSoundBuffer* buffer = MakeBuffer(c.format, static_cast<DWORD>(c.data->size()));
        ASSERT_NE(buffer, nullptr);
        Write(buffer, 0, c.data->data(), static_cast<DWORD>(c.data->size()));
        ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
        EXPECT_EQ(Render16(400), expected);
    }
}

TEST_F(Mixer, VolumeAndPanAttenuateInHundredthsOfADecibel) {
    IDirectSoundBuffer* buffer =
        MakeSamples16(Constant(4000, 16000), 1, 44100, DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    ASSERT_EQ(buffer->SetVolume(-600), DS_OK);
    auto [left, right] = MeasureGains();
    EXPECT_NEAR(left, std::pow(10.0, -0.3), 0.001);
    EXPECT_NEAR(right, std::pow(10.0, -0.3), 0.001);

    ASSERT_EQ(buffer->SetVolume(DSBVOLUME_MAX), DS_OK);
    ASSERT_EQ(buffer->SetPan(-2000), DS_OK);
    std::tie(left, right) = MeasureGains();
    EXPECT_NEAR(left, 1.0, 0.001);
    EXPECT_NEAR(right, 0.1, 0.001);

    ASSERT_EQ(buffer->SetPan(DSBPAN_RIGHT), DS_OK);
    std::tie(left, right) = MeasureGains();
    EXPECT_EQ(left, 0.0);
    EXPECT_NEAR(right, 1.0, 0.001);

    ASSERT_EQ(buffer->SetVolume(DSBVOLUME_MIN), DS_OK);
    std::tie(left, right) = MeasureGains();
    EXPECT_EQ(right, 0.0);
}

TEST_F(Mixer, VolumeChangeWhilePlayingIsRampedWithoutAStep) {
    IDirectSoundBuffer* buffer = MakeSamples16(Constant(4000, 16000), 1, 44100, DSBCAPS_CTRLVOLUME);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(Render16(256)[0], 16000) << "a sound starts at its full level";
    ASSERT_EQ(buffer->SetVolume(DSBVOLUME_MIN), DS_OK);
    const auto mix = Render16(1024);
    int frameOfSilence = -1;
    for (std::size_t frame = 1; frame < mix.size() / 2; ++frame) {
        const int step = mix[2 * (frame - 1)] - mix[2 * frame];
        ASSERT_GE(step, 0) << "the level only falls, at frame " << frame;
        ASSERT_LT(step, 200) << "no step, at frame " << frame;
        if (mix[2 * frame] == 0 && frameOfSilence < 0) {
            frameOfSilence = static_cast<int>(frame);
        }
    }
    EXPECT_GT(frameOfSilence, 80);
    EXPECT_LT(frameOfSilence, 1000);
}

TEST_F(Mixer, OneShotStopsAtItsEndAndRewinds) {
    IDirectSoundBuffer* buffer = MakeSamples16(Noise(1000, 6), 1, 44100);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    Render(600);
    DWORD status = 0, play = 0;
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, static_cast<DWORD>(DSBSTATUS_PLAYING));
    ASSERT_EQ(buffer->GetCurrentPosition(&play, nullptr), DS_OK);
    EXPECT_EQ(play, 1200u);
    Render(600);
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
    ASSERT_EQ(buffer->GetCurrentPosition(&play, nullptr), DS_OK);
    EXPECT_EQ(play, 0u);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_NE(Render16(10)[0], 0) << "played again from the start";
}

TEST_F(Mixer, LoopingBufferGoesRoundAndInterpolatesAcrossTheSeam) {
    const auto wave = Noise(300, 7);
    IDirectSoundBuffer* buffer = MakeSamples16(wave, 1, 22050);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    const auto mix = Render16(2000);
    for (std::size_t i = 0; i < 1000; ++i) {
        const int current = wave[i % wave.size()];
        const int next = wave[(i + 1) % wave.size()];
        ExpectWithinOneStep(mix[4 * i], current, i);
        ExpectWithinOneStep(mix[4 * i + 2], (current + next) / 2, i);
    }
    DWORD status = 0;
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, static_cast<DWORD>(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING));
}

// Tones well inside the band of an output at half the rate, so that playing at double speed
// low-passes nothing away.
std::vector<std::int16_t> LowTones(std::size_t count) {
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / 44100.0;
        samples[i] = static_cast<std::int16_t>(
            std::lround(6000.0 * std::sin(2 * std::numbers::pi * 440.0 * t) +
                        5000.0 * std::sin(2 * std::numbers::pi * 1234.0 * t) +
                        4000.0 * std::sin(2 * std::numbers::pi * 2900.0 * t)));
    }
    return samples;
}

TEST_F(Mixer, FrequencyChangesTheSpeedAndOriginalRestoresIt) {
    const auto wave = LowTones(4000);
    IDirectSoundBuffer* buffer = MakeSamples16(wave, 1, 44100, DSBCAPS_CTRLFREQUENCY);
    ASSERT_EQ(buffer->SetFrequency(88200), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    const auto fast = Render16(1000);
    // Faster than the output the voice is low-passed: every other frame, within the filter's
    // ripple, once past the start where the silence before the sound is in the filter's reach.
    for (std::size_t i = 20; i < 1000; ++i) {
        ASSERT_NEAR(fast[2 * i], wave[2 * i], 4) << "at sample " << i;
    }
    ASSERT_EQ(buffer->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
    DWORD frequency = 0;
    ASSERT_EQ(buffer->GetFrequency(&frequency), DS_OK);
    EXPECT_EQ(frequency, 44100u);
    const auto normal = Render16(500);
    for (std::size_t i = 0; i < 500; ++i) {
        ExpectWithinOneStep(normal[2 * i], wave[2000 + i], i);
    }
}

TEST_F(Mixer, DuplicateSharesItsOriginalsSoundMemory) {
    const auto before = Noise(500, 9);
    const auto after = Noise(500, 10);
    IDirectSoundBuffer* original = MakeSamples16(before, 1, 44100);
    IDirectSoundBuffer* duplicate = nullptr;
    ASSERT_EQ(device_->DuplicateSoundBuffer(original, &duplicate), DS_OK);
    dsound_test::Releaser<IDirectSoundBuffer> release{duplicate};
    Write(original, 0, after.data(), 1000);
    ASSERT_EQ(duplicate->Play(0, 0, 0), DS_OK);
    const auto mix = Render16(500);
    for (std::size_t i = 0; i < 500; ++i) {
        ExpectWithinOneStep(mix[2 * i], after[i], i);
    }
    DWORD status = 0;
    ASSERT_EQ(original->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u) << "the original has a voice of its own";
}

TEST_F(Mixer, MonoOutputAndEightBitOutputAreProduced) {
    SetOutputFormat(1, 22050, 8);
    IDirectSoundBuffer* buffer = MakeSamples16(Constant(1000, 16384), 2, 22050);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    const auto mix = Render(100);
    ASSERT_EQ(mix.size(), 100u);
    EXPECT_EQ(mix[50], 128 + 64);
}

TEST_F(Mixer, PrimaryVolumeScalesTheWholeMix) {
    DSBUFFERDESC description =
        dsound_test::Description(DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME, 0, nullptr);
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_EQ(device_->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
    dsound_test::Releaser<IDirectSoundBuffer> release{primary};
    IDirectSoundBuffer* buffer = MakeSamples16(Constant(4000, 16000), 1, 44100);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    ASSERT_EQ(primary->SetVolume(-2000), DS_OK);
    const auto [left, right] = MeasureGains();
    EXPECT_NEAR(left, 0.1, 0.001);
    EXPECT_NEAR(right, 0.1, 0.001);
}

// Float buffers may hold samples that are not numbers: a NaN mixes as silence and an infinity as
// full scale, in the interpolation too, and neither disturbs the neighbouring samples or the other
// voices of the mix.
TEST_F(Mixer, NonFiniteFloatSamplesMixAsSilenceOrFullScale) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const auto makeFloats = [&](const std::vector<float>& samples, DWORD rate) {
        WAVEFORMATEX format = PcmFormat(1, rate, 32);
        format.wFormatTag = WAVE_FORMAT_IEEE_FLOAT;
        return MakeFilledBuffer(format, samples.data(), static_cast<DWORD>(samples.size() * 4));
    };
    const auto bothSides = [](const std::vector<int>& mono) {
        std::vector<std::int16_t> stereo;
        for (const int sample : mono) {
            stereo.insert(stereo.end(), 2, static_cast<std::int16_t>(sample));
        }
        return stereo;
    };

    IDirectSoundBuffer* other = MakeSamples16(Constant(8, 1000), 1, 44100);
    IDirectSoundBuffer* floats =
        makeFloats({0.25f, nan, 0.25f, infinity, 0.25f, -infinity, 0.25f, -nan}, 44100);
    ASSERT_EQ(other->Play(0, 0, 0), DS_OK);
    ASSERT_EQ(floats->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Render16(8), bothSides({9192, 1000, 9192, 32767, 9192, -31768, 9192, 1000}));

    // At half the output rate every other output sample lies halfway between two of the buffer's;
    // the largest floats are clipped too, so the difference of two neighbours stays finite.
    const float largest = std::numeric_limits<float>::max();
    IDirectSoundBuffer* slow = makeFloats({0.5f, nan, 0.5f, -infinity, largest, -largest}, 22050);
    ASSERT_EQ(slow->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Render16(12),
              bothSides({16384, 8192, 0, 8192, 16384, -8192, -32768, 0, 32767, 0, -32768, -16384}));
}

} // namespace
