// The sound front end on the offline mixer: its log lines and the fixed playback arguments.

#include "platform/platform_state.h"
#include "platform/sound_front_end.h"
#include "sound/sound_clip.h"
#include "sound/sound_device.h"
#include "winapi/hooks/dsound.h"
#include "winapi/profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

class SoundFrontEnd : public testing::Test {
protected:
    void SetUp() override {
        winapi::SelectProfile(winapi::Profile::Offline);
        saved = Log.rdbuf(written.rdbuf());
    }
    void TearDown() override {
        Log.rdbuf(saved);
        // The program keeps its device to the end; each test here makes its own.
        delete soundDevice;
        soundDevice = nullptr;
        std::remove(waveName);
    }
    std::string Lines() {
        std::string text = written.str();
        written.str("");
        return text;
    }
    void SaveWave(int frames) {
        std::ofstream out(waveName, std::ios::binary);
        auto put32 = [&out](std::uint32_t v) { out.write(reinterpret_cast<char*>(&v), 4); };
        auto put16 = [&out](std::uint16_t v) { out.write(reinterpret_cast<char*>(&v), 2); };
        out.write("RIFF", 4);
        put32(36 + frames * 2);
        out.write("WAVEfmt ", 8);
        put32(16);
        put16(1);
        put16(1);
        put32(22050);
        put32(44100);
        put16(2);
        put16(16);
        out.write("data", 4);
        put32(frames * 2);
        for (int i = 0; i < frames; ++i) {
            put16(static_cast<std::uint16_t>(i % 2 ? 8000 : -8000));
        }
    }

    static HWND Window() { return reinterpret_cast<HWND>(&windowStandIn); }
    static inline int windowStandIn = 0;
    static constexpr const char* waveName = "front_end_hit.wav";
    std::ostringstream written;
    std::streambuf* saved = nullptr;
};

TEST_F(SoundFrontEnd, SetUpWritesOneLineForEachOutcome) {
    EXPECT_EQ(Init_DirectSound(Window()), 1);
    EXPECT_NE(soundDevice, nullptr);
    EXPECT_EQ(Lines(), "DirectSound Initialized\n");
    // The primary format is 2 channels of 16 bits: 4 bytes a frame.
    EXPECT_EQ(winapi::hooks::RenderSoundMix(1).size(), 4u);

    delete soundDevice;
    EXPECT_EQ(Init_DirectSound(nullptr), 0); // no window to bind the device to
    EXPECT_EQ(Lines(), "DirectSound Initialize failed\n");
    EXPECT_NE(soundDevice, nullptr); // kept, as the shell ends the program anyway
}

TEST_F(SoundFrontEnd, LoadSoundReportsMissingAndLoadedFiles) {
    ASSERT_EQ(Init_DirectSound(Window()), 1);
    Lines();
    EXPECT_EQ(LoadSound("no-such-hit.wav"), nullptr);
    EXPECT_EQ(Lines(), "LoadSound() Create failed\n");

    SaveWave(1000);
    SoundClip* clip = LoadSound(waveName);
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(Lines(), "LoadSound() Successful\n");
    delete clip;
}

TEST_F(SoundFrontEnd, PlaybackIsSilentInTheLogAndPlaysTheSoundAsItIs) {
    ASSERT_EQ(Init_DirectSound(Window()), 1);
    SaveWave(1000);
    SoundClip* clip = LoadSound(waveName);
    ASSERT_NE(clip, nullptr);
    Lines();

    Play_Sound(clip);
    EXPECT_TRUE(clip->IsPlaying());
    // Full volume, centred, at the file's own rate: the mix holds the samples unchanged.
    std::vector<BYTE> mix = winapi::hooks::RenderSoundMix(100);
    auto sample = [&mix](int frame, int channel) {
        return static_cast<std::int16_t>(mix[frame * 4 + channel * 2] |
                                         mix[frame * 4 + channel * 2 + 1] << 8);
    };
    for (int frame : {0, 1, 50, 99}) {
        std::int16_t expected = frame % 2 ? 8000 : -8000;
        EXPECT_EQ(sample(frame, 0), expected) << frame;
        EXPECT_EQ(sample(frame, 1), expected) << frame;
    }
    winapi::hooks::RenderSoundMix(1000);
    EXPECT_FALSE(clip->IsPlaying()); // played once

    Loop_Sound(clip);
    DWORD status = 0;
    clip->BufferAt(0)->GetStatus(&status);
    EXPECT_EQ(status & (DSBSTATUS_PLAYING | DSBSTATUS_LOOPING),
              static_cast<DWORD>(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING));
    winapi::hooks::RenderSoundMix(5000);
    EXPECT_TRUE(clip->IsPlaying());
    Stop_Sound(clip);
    EXPECT_FALSE(clip->IsPlaying());
    EXPECT_EQ(Lines(), "");
    delete clip;
}

} // namespace
