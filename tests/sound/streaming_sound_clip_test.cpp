// Streaming clips on the offline mixer, segment by segment, and the paths only a scripted buffer
// reaches: wrapped locks, wrapped cursors, failing calls.

#include "mock_sound_buffer.h"
#include "offline_sound.h"
#include "sound/streaming_sound_clip.h"
#include "sound/wave_file.h"

#include <memory>

namespace {

using namespace wavetest;
using testing::_;
using testing::NiceMock;
using testing::Return;

constexpr DWORD segment = 4096;

Bytes Segment(const Bytes& wave, DWORD index, BYTE silence) {
    Bytes out(segment, silence);
    for (DWORD i = 0; i < segment && index * segment + i < wave.size(); ++i) {
        out[i] = wave[index * segment + i];
    }
    return out;
}

class Streaming : public OfflineSound {
protected:
    void SetUp() override {
        OfflineSound::SetUp();
        event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }
    void TearDown() override { CloseHandle(event); }

    // Mono 8-bit at the mixer's rate: one rendered frame plays one buffer byte.
    std::unique_ptr<StreamingSoundClip> Stream(const Bytes& wave) {
        StreamingSoundClip* clip = nullptr;
        std::string path = Save(PcmWave(1, 22050, 8, wave));
        EXPECT_EQ(device.CreateStream(&clip, path.c_str(), 0, GUID_NULL, 4, segment, event), S_OK);
        return std::unique_ptr<StreamingSoundClip>(clip);
    }
    // Plays up to the next segment end, checking the event fires exactly as it is passed.
    void PlaySegment() {
        winapi::hooks::RenderSoundMix(segment - 1);
        EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
        winapi::hooks::RenderSoundMix(1);
        EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    }

    static LPDIRECTSOUNDBUFFER BufferOf(const std::unique_ptr<StreamingSoundClip>& clip) {
        return clip->BufferAt(0);
    }

    HANDLE event = nullptr;
};

TEST_F(Streaming, WaveOfTenAndAHalfSegmentsThroughFourSegmentBuffer) {
    Bytes wave = Ramp(segment * 21 / 2);
    auto clip = Stream(wave);
    ASSERT_NE(clip, nullptr);
    LPDIRECTSOUNDBUFFER buffer = clip->BufferAt(0);
    for (DWORD i = 0; i < 4; ++i) {
        EXPECT_EQ(Contents(buffer, i * segment, segment), Segment(wave, i, 0x80));
    }
    ASSERT_EQ(clip->Play(0, DSBPLAY_LOOPING), S_OK);

    // Notification n refills buffer segment (n - 1) mod 4 with wave segment n + 3 (from 0):
    // segments 4 to 9, then the last half padded with silence, then silence only. The buffer
    // stops at the first notification after all 43008 bytes were played: the 11th.
    for (DWORD n = 1; n <= 11; ++n) {
        SCOPED_TRACE(n);
        PlaySegment();
        ASSERT_EQ(clip->OnNotification(FALSE), S_OK);
        EXPECT_EQ(Contents(buffer, (n - 1) % 4 * segment, segment), Segment(wave, n + 3, 0x80));
        EXPECT_EQ(clip->IsPlaying(), n < 11);
    }
}

TEST_F(Streaming, WithRepeatTheWaveLoopsWithoutAGapAndNeverStops) {
    Bytes wave = Ramp(segment * 11 / 2);
    auto clip = Stream(wave);
    ASSERT_EQ(clip->Play(0, DSBPLAY_LOOPING), S_OK);
    Bytes looped;
    for (int copy = 0; copy < 8; ++copy) {
        looped.insert(looped.end(), wave.begin(), wave.end());
    }
    // The buffer first holds bytes 0..16383 of the endless wave; notification n adds the next.
    for (DWORD n = 1; n <= 12; ++n) {
        SCOPED_TRACE(n);
        PlaySegment();
        ASSERT_EQ(clip->OnNotification(TRUE), S_OK);
        EXPECT_EQ(Contents(BufferOf(clip), (n - 1) % 4 * segment, segment),
                  Segment(looped, n + 3, 0x80));
        EXPECT_TRUE(clip->IsPlaying());
    }
}

TEST_F(Streaming, ResetRewindsToTheStartOfTheWave) {
    Bytes wave = Ramp(segment * 6);
    auto clip = Stream(wave);
    ASSERT_EQ(clip->Play(0, DSBPLAY_LOOPING), S_OK);
    for (int n = 0; n < 5; ++n) {
        PlaySegment();
        ASSERT_EQ(clip->OnNotification(FALSE), S_OK);
    }
    ASSERT_EQ(clip->Reset(), S_OK);
    DWORD playCursor = 1;
    ASSERT_EQ(BufferOf(clip)->GetCurrentPosition(&playCursor, nullptr), S_OK);
    EXPECT_EQ(playCursor, 0u);
    PlaySegment();
    ASSERT_EQ(clip->OnNotification(FALSE), S_OK);
    EXPECT_EQ(Contents(BufferOf(clip), 0, segment), Segment(wave, 0, 0x80));
}

TEST_F(Streaming, LostBufferIsRefilledFromTheStartOnTheNextNotification) {
    Bytes wave = Ramp(segment * 6);
    auto clip = Stream(wave);
    ASSERT_EQ(clip->Play(0, DSBPLAY_LOOPING), S_OK);
    PlaySegment();
    winapi::hooks::LoseSoundBuffers();
    ASSERT_EQ(clip->OnNotification(FALSE), S_OK);
    for (DWORD i = 0; i < 4; ++i) {
        EXPECT_EQ(Contents(BufferOf(clip), i * segment, segment), Segment(wave, i, 0x80));
    }
}

TEST_F(Streaming, EmptyWaveWithRepeatPlaysSilenceAndStops) {
    auto clip = Stream({});
    ASSERT_EQ(clip->Play(0, DSBPLAY_LOOPING), S_OK);
    PlaySegment();
    ASSERT_EQ(clip->OnNotification(TRUE), S_OK);
    EXPECT_EQ(Contents(BufferOf(clip), 0, segment), Bytes(segment, 0x80));
    EXPECT_FALSE(clip->IsPlaying());
}

TEST_F(Streaming, CreateStreamRefusesWhatCannotWork) {
    StreamingSoundClip* clip = nullptr;
    std::string path = Save(PcmWave(1, 22050, 8, Ramp(100)));
    EXPECT_EQ(device.CreateStream(&clip, nullptr, 0, GUID_NULL, 4, segment, event), E_INVALIDARG);
    EXPECT_EQ(device.CreateStream(nullptr, path.c_str(), 0, GUID_NULL, 4, segment, event),
              E_INVALIDARG);
    EXPECT_EQ(device.CreateStream(&clip, path.c_str(), 0, GUID_NULL, 4, segment, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(device.CreateStream(&clip, path.c_str(), 0, GUID_NULL, 0x10000, 0x10000, event),
              E_INVALIDARG); // the buffer size would not fit in 32 bits

    TraceLog traces;
    EXPECT_EQ(device.CreateStream(&clip, "missing.wav", 0, GUID_NULL, 4, segment, event),
              DSERR_INVALIDPARAM);
    EXPECT_EQ(traces.Messages(), (std::vector<std::string>{"FindResource", "CreateSoundBuffer"}));
    EXPECT_EQ(clip, nullptr);
    SoundDevice uninitialised;
    EXPECT_EQ(uninitialised.CreateStream(&clip, path.c_str(), 0, GUID_NULL, 4, segment, event),
              CO_E_NOTINITIALIZED);
}

// Scripted buffers: a wrapped lock, a wrapped cursor and a failing cursor read.
class StreamingCalls : public testing::Test {
protected:
    std::unique_ptr<StreamingSoundClip> Stream(DWORD waveSize) {
        path = folder.File("w.wav");
        WriteFileBytes(path, PcmWave(1, 8000, 8, Ramp(waveSize)));
        auto* wave = new WaveFile();
        EXPECT_EQ(wave->Open(path.c_str(), nullptr, WAVEFILE_READ), S_OK);
        return std::make_unique<StreamingSoundClip>(&buffer, 16384, wave, 4096);
    }
    void CursorAt(DWORD position) {
        EXPECT_CALL(buffer, GetCurrentPosition(_, nullptr))
            .WillOnce([position](LPDWORD play, LPDWORD) {
                *play = position;
                return S_OK;
            });
    }
    TempFolder folder;
    std::string path;
    NiceMock<MockSoundBuffer> buffer{16384};
};

TEST_F(StreamingCalls, CursorThatWrappedCountsTheBytesUpToTheEndAndFromTheStart) {
    // The wave ends inside the first refill; the buffer stops once 17385 bytes were played.
    auto clip = Stream(17385);
    CursorAt(12000);
    ASSERT_EQ(clip->OnNotification(FALSE), S_OK);
    EXPECT_CALL(buffer, Stop()).Times(0);
    CursorAt(1000); // 16384 - 12000 + 1000 = 5384 more: 17384 in all
    ASSERT_EQ(clip->OnNotification(FALSE), S_OK);
    testing::Mock::VerifyAndClearExpectations(&buffer);
    EXPECT_CALL(buffer, Stop()).Times(1);
    CursorAt(1001);
    ASSERT_EQ(clip->OnNotification(FALSE), S_OK);
}

TEST_F(StreamingCalls, SegmentThatWouldWrapIsUnexpectedAndUnlocked) {
    auto clip = Stream(20000);
    EXPECT_CALL(buffer, Lock(_, 4096, _, _, _, _, 0))
        .WillOnce([this](DWORD, DWORD, LPVOID* one, LPDWORD oneSize, LPVOID* two, LPDWORD twoSize,
                         DWORD) {
            *one = buffer.memory.data() + 14336;
            *oneSize = 2048;
            *two = buffer.memory.data();
            *twoSize = 2048;
            return S_OK;
        });
    EXPECT_CALL(buffer, Unlock(_, 2048, _, 2048)).Times(1);
    EXPECT_EQ(clip->OnNotification(FALSE), E_UNEXPECTED);
}

TEST_F(StreamingCalls, FailingCallsAreTraced) {
    auto clip = Stream(20000);
    TraceLog traces;
    EXPECT_CALL(buffer, GetCurrentPosition(_, _)).WillOnce(Return(DSERR_BUFFERLOST));
    EXPECT_EQ(clip->OnNotification(FALSE), DSERR_BUFFERLOST);
    EXPECT_CALL(buffer, Lock(_, _, _, _, _, _, _)).WillOnce(Return(DSERR_INVALIDPARAM));
    EXPECT_EQ(clip->OnNotification(FALSE), DSERR_INVALIDPARAM);
    EXPECT_CALL(buffer, GetStatus(_)).WillOnce(Return(DSERR_INVALIDCALL));
    EXPECT_EQ(clip->OnNotification(FALSE), DSERR_INVALIDCALL);
    EXPECT_EQ(traces.Messages(), (std::vector<std::string>{"GetCurrentPosition", "Lock",
                                                           "GetStatus", "RestoreBuffer"}));
}

} // namespace
