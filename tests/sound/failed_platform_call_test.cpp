// Platform calls that fail only on a troubled machine: each failure is traced once under the
// call's name and its code comes back to the caller.

#include "offline_sound.h"
#include "sound/sound_clip.h"
#include "sound/streaming_sound_clip.h"
#include "sound/wave_file.h"
#include "winapi/hooks/all.h"
#include "winapi/hooks/mmio.h"
#include "winapi/hooks/resources.h"

#include <functional>
#include <memory>

namespace {

using namespace wavetest;
using namespace winapi::hooks;
using Messages = std::vector<std::string>;

// What each case works on: a device on the offline mixer, a short wave on disk and a wave file
// object that the case may open before the failing call.
struct Stage {
    SoundDevice& device;
    WaveFile& wave;
    const std::string& wavePath;
    HWND window;
};

struct FailedCall {
    const char* name;
    std::function<HRESULT(Stage&)> act;
    HRESULT result;
    Messages traces;
};

void PrintTo(const FailedCall& call, std::ostream* out) {
    *out << call.name;
}

class FailedPlatformCall : public OfflineSound, public testing::WithParamInterface<FailedCall> {
protected:
    void SetUp() override {
        OfflineSound::SetUp();
        wavePath = Save(PcmWave(1, 22050, 8, Ramp(1000)));
    }
    // Before the wave file is closed for good, so that its close succeeds.
    void TearDown() override { winapi::hooks::ResetAll(); }

    std::string wavePath;
    WaveFile wave;
};

TEST_P(FailedPlatformCall, IsTracedOnceAndItsCodeReturned) {
    Stage stage{device, wave, wavePath, Window()};
    TraceLog traces;
    EXPECT_EQ(GetParam().act(stage), GetParam().result);
    EXPECT_EQ(traces.Messages(), GetParam().traces);
}

HRESULT CreateClips(Stage& stage, DWORD count) {
    SoundClip* clip = nullptr;
    const HRESULT hr = stage.device.Create(&clip, stage.wavePath.c_str(), 0, GUID_NULL, count);
    delete clip;
    return hr;
}

HRESULT CreateStream(Stage& stage) {
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    StreamingSoundClip* stream = nullptr;
    const HRESULT hr =
        stage.device.CreateStream(&stream, stage.wavePath.c_str(), 0, GUID_NULL, 4, 250, event);
    delete stream;
    CloseHandle(event);
    return hr;
}

HRESULT OpenThenRead(Stage& stage, MmioCall failing) {
    EXPECT_EQ(stage.wave.Open(stage.wavePath.c_str(), nullptr, WAVEFILE_READ), S_OK);
    FailMmioCall(failing, MMIOERR_CANNOTREAD);
    BYTE bytes[100];
    DWORD read = 0;
    return stage.wave.Read(bytes, sizeof bytes, &read);
}

HRESULT OpenEmbedded(Stage& stage, ResourceCall failing) {
    FailResourceCall(failing, ERROR_NOT_ENOUGH_MEMORY);
    return stage.wave.Open("embedded_chime.wav", nullptr, WAVEFILE_READ);
}

WAVEFORMATEX writtenFormat = PcmFormat(1, 8000, 8);

INSTANTIATE_TEST_SUITE_P(
    Each, FailedPlatformCall,
    testing::Values(
        FailedCall{"DirectSoundCreate8",
                   [](Stage& stage) {
                       FailSoundCall(SoundCall::DirectSoundCreate8, DSERR_NODRIVER);
                       return stage.device.Initialize(stage.window, DSSCL_PRIORITY);
                   },
                   DSERR_NODRIVER,
                   {"DirectSoundCreate8"}},
        FailedCall{"SetCooperativeLevel",
                   [](Stage& stage) {
                       FailSoundCall(SoundCall::SetCooperativeLevel, DSERR_ALLOCATED);
                       return stage.device.Initialize(stage.window, DSSCL_PRIORITY);
                   },
                   DSERR_ALLOCATED,
                   {"SetCooperativeLevel"}},
        FailedCall{"DuplicateSoundBuffer",
                   [](Stage& stage) {
                       FailSoundCall(SoundCall::DuplicateSoundBuffer, DSERR_OUTOFMEMORY);
                       EXPECT_EQ(CreateClips(stage, 1), S_OK); // nothing to duplicate
                       return CreateClips(stage, 2);
                   },
                   DSERR_OUTOFMEMORY,
                   {"DuplicateSoundBuffer"}},
        FailedCall{"QueryInterfaceOfTheListener",
                   [](Stage& stage) {
                       FailSoundCall(SoundCall::QueryInterface, E_NOINTERFACE);
                       LPDIRECTSOUND3DLISTENER listener = nullptr;
                       return stage.device.GetListener3D(&listener);
                   },
                   E_NOINTERFACE,
                   {"QueryInterface"}},
        FailedCall{"QueryInterfaceOfTheStreamsNotify",
                   [](Stage& stage) {
                       FailSoundCall(SoundCall::QueryInterface, E_NOINTERFACE);
                       return CreateStream(stage);
                   },
                   E_NOINTERFACE,
                   {"QueryInterface"}},
        FailedCall{"SetNotificationPositions",
                   [](Stage& stage) {
                       FailSoundCall(SoundCall::SetNotificationPositions, DSERR_INVALIDCALL);
                       return CreateStream(stage);
                   },
                   DSERR_INVALIDCALL,
                   {"SetNotificationPositions"}},
        FailedCall{"LoadResource",
                   [](Stage& stage) { return OpenEmbedded(stage, ResourceCall::LoadResource); },
                   E_FAIL,
                   {"LoadResource"}},
        FailedCall{"LockResource",
                   [](Stage& stage) { return OpenEmbedded(stage, ResourceCall::LockResource); },
                   E_FAIL,
                   {"LockResource"}},
        FailedCall{"mmioGetInfoWhileReading",
                   [](Stage& stage) { return OpenThenRead(stage, MmioCall::GetInfo); },
                   E_FAIL,
                   {"mmioGetInfo"}},
        FailedCall{"mmioSetInfoWhileReading",
                   [](Stage& stage) { return OpenThenRead(stage, MmioCall::SetInfo); },
                   E_FAIL,
                   {"mmioSetInfo"}},
        FailedCall{"mmioSeekBackToTheData",
                   [](Stage& stage) {
                       EXPECT_EQ(stage.wave.Open(stage.wavePath.c_str(), nullptr, WAVEFILE_READ),
                                 S_OK);
                       FailMmioCall(MmioCall::Seek, MMIOERR_CANNOTSEEK);
                       return stage.wave.ResetFile();
                   },
                   E_FAIL,
                   {"mmioSeek"}},
        // Opening for writing ends by taking the direct buffer; the open passes the failure on.
        FailedCall{"mmioGetInfoWhileOpeningForWriting",
                   [](Stage& stage) {
                       FailMmioCall(MmioCall::GetInfo, MMSYSERR_INVALHANDLE);
                       return stage.wave.Open((stage.wavePath + ".out").c_str(), &writtenFormat,
                                              WAVEFILE_WRITE);
                   },
                   E_FAIL, (Messages{"mmioGetInfo", "ResetFile"})},
        FailedCall{"mmioSetInfoWhileClosingAWrittenFile",
                   [](Stage& stage) {
                       EXPECT_EQ(stage.wave.Open((stage.wavePath + ".out").c_str(), &writtenFormat,
                                                 WAVEFILE_WRITE),
                                 S_OK);
                       FailMmioCall(MmioCall::SetInfo, MMSYSERR_INVALPARAM);
                       return stage.wave.Close();
                   },
                   E_FAIL,
                   {"mmioSetInfo"}}),
    [](const testing::TestParamInfo<FailedCall>& info) { return std::string(info.param.name); });

} // namespace
