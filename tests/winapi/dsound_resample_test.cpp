// A voice faster than the output: what the output cannot carry must not fold back into its band.

#include "dsound_test_support.h"

#include <cmath>
#include <numbers>
#include <string>

namespace {

using dsound_test::OfflineDevice;

std::vector<std::int16_t> Sine(double hertz, DWORD rate, std::size_t count, double amplitude) {
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        samples[i] = static_cast<std::int16_t>(std::lround(
            amplitude * std::sin(2.0 * std::numbers::pi * hertz * static_cast<double>(i) / rate)));
    }
    return samples;
}

// Root mean square of one side of a stereo mix, in steps.
double Rms(const std::vector<std::int16_t>& mix, std::size_t side) {
    double sum = 0.0;
    for (std::size_t i = side; i < mix.size(); i += 2) {
        sum += static_cast<double>(mix[i]) * mix[i];
    }
    return std::sqrt(sum / static_cast<double>(mix.size() / 2));
}

// The game's primary format, 22050 Hz stereo, fed from 44.1 kHz buffers.
class FastVoice : public OfflineDevice {
protected:
    void SetUp() override {
        OfflineDevice::SetUp();
        SetOutputFormat(2, 22050, 16);
    }

    // One second of a looping sine at 44.1 kHz (a whole number of cycles, so the seam is
    // smooth), mixed for half a second.
    double RmsOfLoopedSine(double hertz) {
        IDirectSoundBuffer* buffer = MakeSamples16(Sine(hertz, 44100, 44100, 16000.0), 1, 44100);
        EXPECT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
        const auto mix = Render16(11025);
        EXPECT_EQ(buffer->Stop(), DS_OK);
        return Rms(mix, 0);
    }
};

TEST_F(FastVoice, ToneAboveTheOutputBandIsRemovedAndToneInsideItKept) {
    const double reference = RmsOfLoopedSine(5000.0);
    const double above = RmsOfLoopedSine(15000.0);
    // A sine of amplitude 16000 has an RMS of 11314; the pass band keeps it within 0.1 dB.
    EXPECT_NEAR(20.0 * std::log10(reference / (16000.0 / std::sqrt(2.0))), 0.0, 0.1);
    RecordProperty("attenuation_db", std::to_string(20.0 * std::log10(above / reference)));
    // Decimated without a low-pass, 15 kHz would come out as a 7.05 kHz tone at full level.
    EXPECT_LT(20.0 * std::log10(above / reference), -40.0)
        << "15 kHz at " << above << " against 5 kHz at " << reference;
}

TEST_F(FastVoice, OneShotKeepsItsLevelAndEndsOnTime) {
    // 4410 frames at twice the output rate last 2205 output frames; a constant passes the
    // low-pass unchanged away from its edges.
    IDirectSoundBuffer* buffer =
        MakeSamples16(std::vector<std::int16_t>(4410, 10000), 1, 44100, DSBCAPS_CTRLFREQUENCY);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    const auto mix = Render16(3000);
    for (std::size_t frame = 20; frame < 2180; ++frame) {
        ASSERT_NEAR(mix[2 * frame], 10000, 1) << "at frame " << frame;
    }
    for (std::size_t frame = 2205; frame < 3000; ++frame) {
        ASSERT_EQ(mix[2 * frame], 0) << "after the end, at frame " << frame;
    }
    DWORD status = 1;
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
}

TEST_F(FastVoice, SpeedJustAboveTheOutputRateKeepsALowTone) {
    // Slightly faster than the output still takes the low-passed path; a low tone must come
    // through it at its level (the cut-off follows the speed, not a fixed 2:1).
    IDirectSoundBuffer* buffer =
        MakeSamples16(Sine(441.0, 22050, 22050, 16000.0), 1, 22050, DSBCAPS_CTRLFREQUENCY);
    ASSERT_EQ(buffer->SetFrequency(22100), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    const auto mix = Render16(11025);
    EXPECT_NEAR(20.0 * std::log10(Rms(mix, 0) / (16000.0 / std::sqrt(2.0))), 0.0, 0.1);
}

} // namespace
