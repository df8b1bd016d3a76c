// Waves linked into the program as resources of type "WAVE" or "WAV", read when no file of the
// name opens.

#include "sound/wave_file.h"
#include "wave_fixtures.h"
#include "winapi/resources.h"

#include <gtest/gtest.h>

namespace {

using namespace wavetest;

// tests/sound/data/chime.wav, embedded by the build: 100 bytes of 8-bit mono at 8000 Hz.
TEST(WaveResource, EmbeddedWaveIsReadWhenNoFileHasItsName) {
    WaveFile wave;
    ASSERT_EQ(wave.Open("embedded_chime.wav", nullptr, WAVEFILE_READ), S_OK);
    EXPECT_EQ(wave.m_pwfx->nSamplesPerSec, 8000u);
    EXPECT_EQ(wave.DataSize(), 100u);
    Bytes data(100);
    DWORD read = 0;
    ASSERT_EQ(wave.Read(data.data(), 100, &read), S_OK);
    ASSERT_EQ(read, 100u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(data[i], (i * 7) % 256) << i;
    }
    EXPECT_EQ(wave.Close(), S_OK);
    EXPECT_EQ(wave.Read(data.data(), 1, &read), CO_E_NOTINITIALIZED);
}

TEST(WaveResource, TypeWavIsTheFallback) {
    static const Bytes file = PcmWave(2, 11025, 16, Ramp(40));
    winapi::RegisterResource("WAV", "short_type_sound", file.data(), file.size());
    WaveFile wave;
    ASSERT_EQ(wave.Open("short_type_sound", nullptr, WAVEFILE_READ), S_OK);
    EXPECT_EQ(wave.m_pwfx->nChannels, 2);
    EXPECT_EQ(wave.DataSize(), 40u);
}

TEST(WaveResource, DamagedResourcesAreRefusedLikeFiles) {
    static const Bytes empty;
    static const Bytes notWave = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '};
    static const BYTE oneByte = 0;
    winapi::RegisterResource("WAVE", "empty_sound", &oneByte, 0);
    winapi::RegisterResource("WAVE", "avi_sound", notWave.data(), notWave.size());
    WaveFile wave;
    TraceLog traces;
    EXPECT_EQ(wave.Open("empty_sound", nullptr, WAVEFILE_READ), E_FAIL);
    EXPECT_EQ(traces.Messages(), std::vector<std::string>{"SizeofResource"});
    traces.Clear();
    EXPECT_EQ(wave.Open("avi_sound", nullptr, WAVEFILE_READ), E_FAIL);
    EXPECT_EQ(traces.Messages(), (std::vector<std::string>{"mmioFOURCC", "ReadMMIO"}));
    EXPECT_EQ(wave.DataSize(), 0u);
}

} // namespace
