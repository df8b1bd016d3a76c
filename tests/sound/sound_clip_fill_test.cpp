// What clips put into their buffers on the offline mixer: the sound, silence after it, repeats,
// and the sound again after the platform took the buffers away.

#include "offline_sound.h"
#include "sound/sound_clip.h"
#include "sound/wave_file.h"

#include <memory>

namespace {

using namespace wavetest;

class ClipFill : public OfflineSound {
protected:
    // A clip of one buffer of `bufferSize` bytes (first filled with 0x5A, so that every byte
    // the clip writes shows) over a wave held in memory.
    std::unique_ptr<SoundClip> ClipOver(const Bytes& wave, WORD bits, DWORD bufferSize) {
        sound = wave;
        sound.reserve(1); // an empty wave still has a block to read from
        format = PcmFormat(1, 22050, bits);
        DSBUFFERDESC description{};
        description.dwSize = DSBUFFERDESC_PLATFORM_SIZE;
        description.dwBufferBytes = bufferSize;
        description.lpwfxFormat = &format;
        LPDIRECTSOUNDBUFFER buffer = nullptr;
        LPDIRECTSOUND8 direct = nullptr;
        EXPECT_EQ(DirectSoundCreate8(nullptr, &direct, nullptr), S_OK);
        direct->SetCooperativeLevel(Window(), DSSCL_PRIORITY);
        EXPECT_EQ(direct->CreateSoundBuffer(&description, &buffer, nullptr), S_OK);
        direct->Release();
        Scribble(buffer, bufferSize, 0x5A);
        auto* waveFile = new WaveFile();
        waveFile->OpenMemory(sound.data(), static_cast<ULONG>(sound.size()), &format,
                             WAVEFILE_READ);
        return std::make_unique<SoundClip>(&buffer, bufferSize, 1, waveFile, 0);
    }

    static Bytes Repeated(const Bytes& wave, std::size_t size) {
        Bytes out;
        while (out.size() < size) {
            out.push_back(wave[out.size() % wave.size()]);
        }
        return out;
    }

    Bytes sound;
    WAVEFORMATEX format{};
};

TEST_F(ClipFill, ShortWaveIsFollowedBySilenceOfItsSampleWidth) {
    Bytes wave = Ramp(300);
    auto eightBit = ClipOver(wave, 8, 1000);
    Bytes expected = wave;
    expected.resize(1000, 0x80);
    EXPECT_EQ(Contents(eightBit->BufferAt(0), 0, 1000), expected);

    auto sixteenBit = ClipOver(wave, 16, 1000);
    expected = wave;
    expected.resize(1000, 0x00);
    EXPECT_EQ(Contents(sixteenBit->BufferAt(0), 0, 1000), expected);
}

TEST_F(ClipFill, WithRepeatTheWaveFillsTheBufferOverAndOver) {
    Bytes wave = Ramp(300);
    auto clip = ClipOver(wave, 16, 1000);
    ASSERT_EQ(clip->FillBufferWithSound(clip->BufferAt(0), TRUE), S_OK);
    EXPECT_EQ(Contents(clip->BufferAt(0), 0, 1000), Repeated(wave, 1000));
}

TEST_F(ClipFill, EmptyWaveFillsTheBufferWithSilenceEvenWithRepeat) {
    auto clip = ClipOver({}, 8, 64);
    EXPECT_EQ(Contents(clip->BufferAt(0), 0, 64), Bytes(64, 0x80));
    Scribble(clip->BufferAt(0), 64, 0x5A);
    ASSERT_EQ(clip->FillBufferWithSound(clip->BufferAt(0), TRUE), S_OK);
    EXPECT_EQ(Contents(clip->BufferAt(0), 0, 64), Bytes(64, 0x80));
}

TEST_F(ClipFill, LostBuffersAreRestoredAndRefilledWhenPlayed) {
    Bytes wave = Ramp(2000);
    SoundClip* made = nullptr;
    ASSERT_EQ(device.Create(&made, Save(PcmWave(1, 22050, 8, wave)).c_str(), 0, GUID_NULL, 2),
              S_OK);
    std::unique_ptr<SoundClip> clip(made);
    ASSERT_EQ(clip->Play(), S_OK);
    winapi::hooks::LoseSoundBuffers();
    EXPECT_FALSE(clip->IsPlaying());
    DWORD status = 0;
    ASSERT_EQ(clip->BufferAt(0)->GetStatus(&status), S_OK);
    EXPECT_NE(status & DSBSTATUS_BUFFERLOST, 0u);

    // The platform refuses the first restores, as while another program holds the device.
    winapi::hooks::RefuseSoundRestores(2);
    ASSERT_EQ(clip->Play(), S_OK);
    EXPECT_TRUE(clip->IsPlaying());
    EXPECT_EQ(Contents(clip->BufferAt(0), 0, 2000), wave);
    winapi::hooks::RefuseSoundRestores(0);
}

} // namespace
