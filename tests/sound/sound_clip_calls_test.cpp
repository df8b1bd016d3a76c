// The calls a clip makes on its buffers: which buffer plays, which controls are set, and how each
// failing call is traced and returned.

#include "mock_sound_buffer.h"
#include "sound/sound_clip.h"
#include "sound/wave_file.h"
#include "wave_fixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace wavetest;
using testing::_;
using testing::NiceMock;
using testing::Return;
using Messages = std::vector<std::string>;

class ClipCalls : public testing::Test {
protected:
    WaveFile* MemoryWave() {
        auto* wave = new WaveFile();
        wave->OpenMemory(sound.data(), static_cast<ULONG>(sound.size()), &format, WAVEFILE_READ);
        return wave;
    }
    // A clip over the first `count` mock buffers, each holding the whole sound.
    std::unique_ptr<SoundClip> MakeClip(DWORD count, DWORD flags = 0) {
        LPDIRECTSOUNDBUFFER handed[3] = {&buffers[0], &buffers[1], &buffers[2]};
        return std::make_unique<SoundClip>(handed, static_cast<DWORD>(sound.size()), count,
                                           MemoryWave(), flags);
    }

    Bytes sound = Ramp(64);
    WAVEFORMATEX format = PcmFormat(1, 8000, 8);
    NiceMock<MockSoundBuffer> buffers[3];
};

TEST_F(ClipCalls, EachPlayTakesAFreeBufferThenOneAtRandom) {
    auto clip = MakeClip(3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_CALL(buffers[i], Play(0, 0, 0)).Times(1);
        EXPECT_EQ(clip->Play(), S_OK);
        testing::Mock::VerifyAndClearExpectations(&buffers[i]);
    }
    // All three play: the fourth Play goes to the buffer at rand() mod 3.
    std::srand(12345);
    int expected = std::rand() % 3;
    std::srand(12345);
    EXPECT_CALL(buffers[expected], Play(0, 0, 0)).Times(1);
    EXPECT_EQ(clip->Play(), S_OK);
    testing::Mock::VerifyAndClearExpectations(&buffers[expected]);

    buffers[1].status = 0; // only buffer 1 has finished
    EXPECT_CALL(buffers[1], Play(0, 0, DSBPLAY_LOOPING)).Times(1);
    EXPECT_EQ(clip->Play(0, DSBPLAY_LOOPING), S_OK);
}

TEST_F(ClipCalls, ControlsAreSetOnlyWhenTheClipWasMadeWithThem) {
    auto plain = MakeClip(1);
    EXPECT_CALL(buffers[0], SetVolume(_)).Times(0);
    EXPECT_CALL(buffers[0], SetFrequency(_)).Times(0);
    EXPECT_CALL(buffers[0], SetPan(_)).Times(0);
    plain->Play(0, 0, -600, 11025, 300);
    testing::Mock::VerifyAndClearExpectations(&buffers[0]);
    plain.reset();

    buffers[0].status = 0;
    auto controlled = MakeClip(1, DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN);
    EXPECT_CALL(buffers[0], SetVolume(-600));
    EXPECT_CALL(buffers[0], SetFrequency(11025));
    EXPECT_CALL(buffers[0], SetPan(300));
    controlled->Play(0, 0, -600, 11025, 300);
    testing::Mock::VerifyAndClearExpectations(&buffers[0]);

    buffers[0].status = 0;
    EXPECT_CALL(buffers[0], SetFrequency(_)).Times(0); // -1 leaves the frequency alone
    controlled->Play(0, 0, 0, -1, 0);
}

TEST_F(ClipCalls, NotLostBufferIsPlayedWithoutRefill) {
    auto clip = MakeClip(1);
    BOOL restored = TRUE;
    EXPECT_EQ(clip->RestoreBuffer(&buffers[0], &restored), S_FALSE);
    EXPECT_FALSE(restored);
    EXPECT_CALL(buffers[0], Restore()).Times(0);
    EXPECT_CALL(buffers[0], Lock(_, _, _, _, _, _, _)).Times(0);
    EXPECT_EQ(clip->Play(), S_OK);
}

TEST_F(ClipCalls, LostBufferIsRestoredAndRefilledBeforePlaying) {
    auto clip = MakeClip(1);
    buffers[0].memory.assign(sound.size(), 0);
    buffers[0].status = DSBSTATUS_BUFFERLOST;
    EXPECT_CALL(buffers[0], Play(0, 0, 0));
    EXPECT_EQ(clip->Play(), S_OK);
    EXPECT_EQ(buffers[0].memory, sound);
}

TEST_F(ClipCalls, FailingCallsAreTracedAndReturned) {
    auto clip = MakeClip(1);
    TraceLog traces;

    EXPECT_CALL(buffers[0], GetStatus(_)).WillRepeatedly(Return(DSERR_INVALIDCALL));
    EXPECT_EQ(clip->Play(), DSERR_INVALIDCALL);
    EXPECT_EQ(traces.Messages(), (Messages{"GetStatus", "RestoreBuffer"}));
    testing::Mock::VerifyAndClearExpectations(&buffers[0]);

    traces.Clear();
    buffers[0].status = DSBSTATUS_BUFFERLOST;
    EXPECT_CALL(buffers[0], Lock(_, _, _, _, _, _, _)).WillOnce(Return(DSERR_INVALIDPARAM));
    EXPECT_EQ(clip->Play(), DSERR_INVALIDPARAM);
    EXPECT_EQ(traces.Messages(), (Messages{"Lock", "FillBufferWithSound"}));
}

TEST_F(ClipCalls, FailedReadIsTracedAndLeavesTheBufferUnlocked) {
    LPDIRECTSOUNDBUFFER handed = &buffers[0];
    TraceLog traces;
    EXPECT_CALL(buffers[0], Unlock(_, _, _, _)).Times(1);
    SoundClip clip(&handed, 64, 1, new WaveFile(), 0); // a wave file that never opened
    EXPECT_EQ(traces.Messages(), Messages{"Read"});
}

TEST_F(ClipCalls, NoFreeBufferIsTracedAsFailure) {
    LPDIRECTSOUNDBUFFER none[2] = {nullptr, nullptr};
    SoundClip clip(none, 64, 2, MemoryWave(), 0);
    TraceLog traces;
    EXPECT_EQ(clip.Play(), E_FAIL);
    EXPECT_EQ(traces.Messages(), Messages{"GetFreeBuffer"});
}

TEST_F(ClipCalls, StopAndResetCombineEveryBuffersResult) {
    auto clip = MakeClip(3);
    EXPECT_CALL(buffers[0], Stop()).WillOnce(Return(S_OK));
    EXPECT_CALL(buffers[1], Stop()).WillOnce(Return(S_FALSE));
    EXPECT_CALL(buffers[2], Stop()).WillOnce(Return(S_OK));
    EXPECT_EQ(clip->Stop(), S_FALSE);
    for (auto& buffer : buffers) {
        EXPECT_CALL(buffer, SetCurrentPosition(0)).WillOnce(Return(S_OK));
    }
    EXPECT_EQ(clip->Reset(), S_OK);

    EXPECT_FALSE(clip->IsPlaying());
    buffers[2].status = DSBSTATUS_PLAYING;
    EXPECT_TRUE(clip->IsPlaying());
}

TEST_F(ClipCalls, ClipTakesOverItsBuffersAndWaveFile) {
    {
        auto clip = MakeClip(2);
        EXPECT_EQ(clip->BufferAt(1), &buffers[1]);
        EXPECT_EQ(clip->BufferAt(2), nullptr);
    }
    EXPECT_EQ(buffers[0].references, 0u);
    EXPECT_EQ(buffers[1].references, 0u);
    EXPECT_EQ(buffers[2].references, 1u);
}

TEST_F(ClipCalls, ClipWithoutBuffersRefusesToPlay) {
    HRESULT result = S_OK;
    SoundClip clip(nullptr, 64, 0, MemoryWave(), 0, &result);
    EXPECT_EQ(result, E_INVALIDARG);
    EXPECT_EQ(clip.Play(), CO_E_NOTINITIALIZED);
    EXPECT_EQ(clip.Stop(), CO_E_NOTINITIALIZED);
    EXPECT_FALSE(clip.IsPlaying());
    EXPECT_EQ(clip.BufferAt(0), nullptr);
}

TEST_F(ClipCalls, PlayWith3DStopsAtTheFirstFailingCall) {
    auto clip = MakeClip(1, DSBCAPS_CTRLFREQUENCY);
    DS3DBUFFER parameters{};
    EXPECT_CALL(buffers[0], GetFrequency(_)).WillOnce([](LPDWORD frequency) {
        *frequency = 8000;
        return S_OK;
    });
    EXPECT_CALL(buffers[0], SetFrequency(8500));
    EXPECT_CALL(buffers[0], Play(_, _, _)).Times(0);
    EXPECT_EQ(clip->PlayWith3D(&parameters, 0, 0, 500), E_NOINTERFACE);
    LPDIRECTSOUND3DBUFFER buffer3D = nullptr;
    EXPECT_EQ(clip->Get3DBuffer(1, &buffer3D), E_INVALIDARG);
}

} // namespace
