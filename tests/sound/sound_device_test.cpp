// The device and its clip factories on the offline mixer.

#include "offline_sound.h"
#include "sound/sound_clip.h"
#include "sound/streaming_sound_clip.h"

#include <memory>

namespace {

using namespace wavetest;
using Messages = std::vector<std::string>;

class Device : public OfflineSound {
protected:
    std::unique_ptr<SoundClip> Made(SoundClip* clip) { return std::unique_ptr<SoundClip>(clip); }
    SoundClip* const untouched = reinterpret_cast<SoundClip*>(0x1);
};

TEST_F(Device, PrimaryFormatSetsTheMixersOutput) {
    // 2 channels of 16 bits: 4 bytes a frame.
    EXPECT_EQ(winapi::hooks::RenderSoundMix(10).size(), 40u);
    ASSERT_EQ(device.SetPrimaryBufferFormat(1, 8000, 8), S_OK);
    EXPECT_EQ(winapi::hooks::RenderSoundMix(10).size(), 10u);

    TraceLog traces;
    EXPECT_NE(device.SetPrimaryBufferFormat(2, 22050, 12), S_OK);
    EXPECT_EQ(traces.Messages(), Messages{"SetFormat"});
}

TEST_F(Device, EverythingWaitsForInitialize) {
    SoundDevice fresh;
    SoundClip* clip = untouched;
    StreamingSoundClip* stream = nullptr;
    LPDIRECTSOUND3DLISTENER listener = nullptr;
    BYTE data[4] = {};
    WAVEFORMATEX format = PcmFormat(1, 8000, 8);
    EXPECT_EQ(fresh.SetPrimaryBufferFormat(2, 22050, 16), CO_E_NOTINITIALIZED);
    EXPECT_EQ(fresh.GetListener3D(&listener), CO_E_NOTINITIALIZED);
    EXPECT_EQ(fresh.GetListener3D(nullptr), E_INVALIDARG);
    EXPECT_EQ(fresh.Create(&clip, "x.wav", 0, GUID_NULL, 1), CO_E_NOTINITIALIZED);
    EXPECT_EQ(fresh.CreateFromData(&clip, data, 4, &format, 0, GUID_NULL, 1), CO_E_NOTINITIALIZED);
    EXPECT_EQ(fresh.CreateStream(&stream, "x.wav", 0, GUID_NULL, 1, 4, Window()),
              CO_E_NOTINITIALIZED);
    EXPECT_EQ(clip, untouched);

    TraceLog traces;
    EXPECT_EQ(fresh.Initialize(nullptr, DSSCL_PRIORITY), DSERR_INVALIDPARAM);
    EXPECT_EQ(traces.Messages(), Messages{"SetCooperativeLevel"});
    EXPECT_EQ(fresh.Initialize(Window(), DSSCL_PRIORITY), S_OK); // again, on a new object
    EXPECT_EQ(fresh.GetListener3D(&listener), S_OK);
    ASSERT_NE(listener, nullptr);
    listener->Release();
}

TEST_F(Device, DuplicatesShareTheFirstBuffersSoundUnlessEffectsAreAsked) {
    Bytes sound = Ramp(4000); // long enough for a buffer with effects
    std::string path = Save(PcmWave(1, 8000, 8, sound));
    SoundClip* clip = nullptr;
    ASSERT_EQ(device.Create(&clip, path.c_str(), 0, GUID_NULL, 3), S_OK);
    auto shared = Made(clip);
    for (DWORD i = 0; i < 3; ++i) {
        EXPECT_EQ(Contents(shared->BufferAt(i), 0, 4000), sound) << i;
    }
    Scribble(shared->BufferAt(0), 4000, 0x11);
    EXPECT_EQ(Contents(shared->BufferAt(2), 0, 4000), Bytes(4000, 0x11));

    ASSERT_EQ(device.Create(&clip, path.c_str(), DSBCAPS_CTRLFX, GUID_NULL, 3), S_OK);
    auto separate = Made(clip);
    EXPECT_EQ(Contents(separate->BufferAt(0), 0, 4000), sound);
    Scribble(separate->BufferAt(0), 4000, 0x11);
    EXPECT_EQ(Contents(separate->BufferAt(1), 0, 4000), Bytes(4000, 0x80)); // never filled
}

TEST_F(Device, ReplacedThreeDAlgorithmIsReportedByCreateOnly) {
    Bytes sound = Ramp(2000);
    std::string path = Save(PcmWave(1, 22050, 8, sound));
    SoundClip* clip = nullptr;
    ASSERT_EQ(device.Create(&clip, path.c_str(), DSBCAPS_CTRL3D, DS3DALG_HRTF_FULL, 2),
              DS_NO_VIRTUALIZATION);
    auto fromFile = Made(clip);
    EXPECT_EQ(fromFile->Play(), S_OK);
    EXPECT_TRUE(fromFile->IsPlaying());
    LPDIRECTSOUND3DBUFFER buffer3D = nullptr;
    ASSERT_EQ(fromFile->Get3DBuffer(1, &buffer3D), S_OK);
    buffer3D->Release();

    WAVEFORMATEX format = PcmFormat(1, 22050, 8);
    ASSERT_EQ(device.CreateFromData(&clip, sound.data(), 2000, &format, DSBCAPS_CTRL3D,
                                    DS3DALG_HRTF_FULL, 2),
              S_OK);
    auto fromData = Made(clip);
    EXPECT_EQ(Contents(fromData->BufferAt(0), 0, 2000), sound);
    EXPECT_EQ(fromData->Play(), S_OK);
}

TEST_F(Device, FailedCreateLeavesTheOutClipAlone) {
    SoundClip* clip = untouched;
    std::string path = Save(PcmWave(1, 8000, 8, Ramp(100)));
    EXPECT_EQ(device.Create(nullptr, path.c_str(), 0, GUID_NULL, 1), E_INVALIDARG);
    EXPECT_EQ(device.Create(&clip, nullptr, 0, GUID_NULL, 1), E_INVALIDARG);
    EXPECT_EQ(device.Create(&clip, path.c_str(), 0, GUID_NULL, 0), E_INVALIDARG);
    BYTE data[4] = {};
    WAVEFORMATEX format = PcmFormat(1, 8000, 8);
    EXPECT_EQ(device.CreateFromData(&clip, nullptr, 4, &format, 0, GUID_NULL, 1), E_INVALIDARG);
    EXPECT_EQ(device.CreateFromData(&clip, data, 4, &format, 0, GUID_NULL, 0), E_INVALIDARG);

    TraceLog traces;
    EXPECT_EQ(device.Create(&clip, "neither-file-nor-resource", 0, GUID_NULL, 1), E_FAIL);
    EXPECT_EQ(traces.Messages(), Messages{"FindResource"});
    traces.Clear();
    EXPECT_EQ(device.Create(&clip, Save(PcmWave(1, 8000, 8, {}), "e.wav").c_str(), 0, GUID_NULL, 1),
              E_FAIL); // an empty data chunk: nothing to play, nothing traced
    EXPECT_TRUE(traces.Messages().empty());

    // A format the mixer cannot play is refused by the buffer creation.
    Bytes body = PcmFormatBody(0x55, 2, 44100, 0);
    PutU16(body, 0);
    std::string odd = Save(RiffWave({Chunk("fmt ", body), Chunk("data", Ramp(100))}), "mp.wav");
    HRESULT refused = device.Create(&clip, odd.c_str(), 0, GUID_NULL, 1);
    EXPECT_TRUE(FAILED(refused));
    EXPECT_EQ(traces.Messages(), Messages{"CreateSoundBuffer"});
    EXPECT_EQ(clip, untouched);
}

TEST_F(Device, StreamNotificationsSitAtTheLastByteOfEachSegment) {
    // Stereo 16-bit at the mixer's rate: a rendered frame plays 4 buffer bytes, so 1024 frames
    // reach offset 4095 and not 4096.
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::string path = Save(PcmWave(2, 22050, 16, Ramp(100000)));
    StreamingSoundClip* stream = nullptr;
    ASSERT_EQ(device.CreateStream(&stream, path.c_str(), 0, GUID_NULL, 4, 4096, event), S_OK);
    std::unique_ptr<SoundClip> clip(stream);
    DSBCAPS caps{};
    caps.dwSize = sizeof caps;
    ASSERT_EQ(clip->BufferAt(0)->GetCaps(&caps), S_OK);
    EXPECT_EQ(caps.dwBufferBytes, 16384u);
    ASSERT_EQ(clip->Play(0, DSBPLAY_LOOPING), S_OK);
    for (int segment = 0; segment < 4; ++segment) {
        winapi::hooks::RenderSoundMix(1023);
        EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << segment;
        winapi::hooks::RenderSoundMix(1);
        EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0) << segment;
        ResetEvent(event);
    }
    CloseHandle(event);
}

} // namespace
