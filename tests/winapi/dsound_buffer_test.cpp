// Buffer creation, locking, controls, lost buffers and reference counting.

#include "dsound_test_support.h"

namespace {

using dsound_test::Description;
using dsound_test::OfflineDevice;
using dsound_test::PcmFormat;
using dsound_test::Releaser;

class Buffers : public OfflineDevice {
protected:
    HRESULT Create(DSBUFFERDESC description) {
        IDirectSoundBuffer* buffer = nullptr;
        const HRESULT result = device_->CreateSoundBuffer(&description, &buffer, nullptr);
        if (buffer != nullptr) {
            buffer->Release();
        }
        return result;
    }

    WAVEFORMATEX mono16_ = PcmFormat(1, 22050, 16);
    WAVEFORMATEX stereo16_ = PcmFormat(2, 22050, 16);
};

TEST_F(Buffers, CreationChecksTheDescription) {
    WAVEFORMATEX surround = PcmFormat(6, 22050, 16);
    WAVEFORMATEX twelveBit = PcmFormat(1, 22050, 12);
    WAVEFORMATEX misaligned = mono16_;
    misaligned.nBlockAlign = 4;
    WAVEFORMATEX compressed = mono16_;
    compressed.wFormatTag = WAVE_FORMAT_ADPCM;
    DSBUFFERDESC platformSized = Description(0, 4096, &mono16_);
    platformSized.dwSize = DSBUFFERDESC_PLATFORM_SIZE;
    DSBUFFERDESC badSize = Description(0, 4096, &mono16_);
    badSize.dwSize = 20;

    EXPECT_EQ(Create(Description(0, 4096, &mono16_)), DS_OK);
    EXPECT_EQ(Create(platformSized), DS_OK);
    EXPECT_EQ(Create(badSize), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(Description(0, 4096, nullptr)), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(Description(0, 2, &mono16_)), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(Description(0, 4096, &misaligned)), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(Description(0, 4096, &surround)), DSERR_BADFORMAT);
    EXPECT_EQ(Create(Description(0, 4096, &twelveBit)), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(Description(0, 4096, &compressed)), DSERR_BADFORMAT);
    EXPECT_EQ(Create(Description(DSBCAPS_CTRL3D, 4096, &stereo16_)), DSERR_INVALIDPARAM)
        << "3D buffers are mono";
    EXPECT_EQ(Create(Description(DSBCAPS_CTRL3D | DSBCAPS_CTRLPAN, 4096, &mono16_)),
              DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(Description(DSBCAPS_CTRLFX, 4096, &mono16_)), DSERR_BUFFERTOOSMALL);
    EXPECT_EQ(Create(Description(DSBCAPS_CTRLFX, 22050, &mono16_)), DS_OK);
    EXPECT_EQ(Create(Description(DSBCAPS_PRIMARYBUFFER, 4096, nullptr)), DSERR_INVALIDPARAM);

    IDirectSound8* fresh = nullptr;
    ASSERT_EQ(DirectSoundCreate8(nullptr, &fresh, nullptr), DS_OK);
    DSBUFFERDESC description = Description(0, 4096, &mono16_);
    IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(fresh->CreateSoundBuffer(&description, &buffer, nullptr), DSERR_PRIOLEVELNEEDED)
        << "before SetCooperativeLevel";
    fresh->Release();
}

TEST_F(Buffers, VirtualisingAlgorithmsFallBackToPanningWithASuccessCode) {
    EXPECT_EQ(Create(Description(DSBCAPS_CTRL3D, 4096, &mono16_, DS3DALG_DEFAULT)), DS_OK);
    EXPECT_EQ(Create(Description(DSBCAPS_CTRL3D, 4096, &mono16_, DS3DALG_NO_VIRTUALIZATION)),
              DS_OK);
    EXPECT_EQ(Create(Description(DSBCAPS_CTRL3D, 4096, &mono16_, DS3DALG_HRTF_LIGHT)),
              DS_NO_VIRTUALIZATION);
    EXPECT_EQ(Create(Description(0, 4096, &mono16_, DS3DALG_HRTF_FULL)), DSERR_INVALIDPARAM)
        << "an algorithm without DSBCAPS_CTRL3D";

    DSBUFFERDESC description = Description(DSBCAPS_CTRL3D, 4096, &mono16_, DS3DALG_HRTF_FULL);
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(device_->CreateSoundBuffer(&description, &buffer, nullptr), DS_NO_VIRTUALIZATION);
    Releaser<IDirectSoundBuffer> release{buffer};
    EXPECT_EQ(buffer->Play(0, 0, 0), DS_OK);
}

TEST_F(Buffers, LockSplitsARegionThatWrapsPastTheEnd) {
    IDirectSoundBuffer* buffer = MakeBuffer(&mono16_, 1000);
    void *first = nullptr, *second = nullptr;
    DWORD firstBytes = 0, secondBytes = 0;
    ASSERT_EQ(buffer->Lock(800, 500, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    EXPECT_EQ(firstBytes, 200u);
    EXPECT_EQ(secondBytes, 300u);
    EXPECT_EQ(static_cast<BYTE*>(first) - static_cast<BYTE*>(second), 800);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);

    ASSERT_EQ(buffer->Lock(800, 500, &first, &firstBytes, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(firstBytes, 200u) << "without a second pointer only the first region is locked";
    EXPECT_EQ(buffer->Unlock(first, firstBytes, nullptr, 0), DS_OK);

    ASSERT_EQ(buffer->Lock(0, 100, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(secondBytes, 0u);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);

    ASSERT_EQ(
        buffer->Lock(123, 0, &first, &firstBytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER),
        DS_OK);
    EXPECT_EQ(firstBytes, 1000u);
    EXPECT_EQ(secondBytes, 0u);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, nullptr, 0), DS_OK);

    EXPECT_EQ(buffer->Lock(1000, 10, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 1001, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    BYTE elsewhere[4];
    EXPECT_EQ(buffer->Unlock(elsewhere, 4, nullptr, 0), DSERR_INVALIDPARAM);
}

TEST_F(Buffers, WriteCursorRunsAheadOfThePlayCursorWhilePlaying) {
    SetOutputFormat(2, 22050, 16);
    IDirectSoundBuffer* buffer = MakeBuffer(&mono16_, 8000);
    DWORD play = 1, write = 1;
    ASSERT_EQ(buffer->SetCurrentPosition(1001), DS_OK);
    ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), DS_OK);
    EXPECT_EQ(play, 1000u) << "rounded down to a whole frame";
    EXPECT_EQ(write, play) << "a stopped buffer";

    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    Render(3000);
    ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), DS_OK);
    EXPECT_EQ(play, 7000u);
    EXPECT_EQ(write, (7000u + 440) % 8000) << "about 10 ms ahead, wrapping";

    void* region = nullptr;
    DWORD bytes = 0;
    ASSERT_EQ(buffer->Lock(0, 100, &region, &bytes, nullptr, nullptr, DSBLOCK_FROMWRITECURSOR),
              DS_OK);
    void* atWrite = nullptr;
    ASSERT_EQ(buffer->Lock(write, 100, &atWrite, &bytes, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(region, atWrite);
    EXPECT_EQ(buffer->SetCurrentPosition(8000), DSERR_INVALIDPARAM);
}

TEST_F(Buffers, ControlsNeedTheirCreationFlagsAndStayInRange) {
    IDirectSoundBuffer* plain = MakeBuffer(&mono16_, 4096);
    LONG value = 0;
    DWORD frequency = 0;
    EXPECT_EQ(plain->SetVolume(-100), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->SetPan(100), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->SetFrequency(11025), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->GetVolume(&value), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->GetFrequency(&frequency), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->SetFormat(&mono16_), DSERR_INVALIDCALL);

    IDirectSoundBuffer* controlled =
        MakeBuffer(&mono16_, 4096, DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN | DSBCAPS_CTRLFREQUENCY);
    EXPECT_EQ(controlled->SetVolume(DSBVOLUME_MIN - 1), DSERR_INVALIDPARAM);
    EXPECT_EQ(controlled->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(controlled->SetPan(DSBPAN_RIGHT + 1), DSERR_INVALIDPARAM);
    EXPECT_EQ(controlled->SetFrequency(DSBFREQUENCY_MIN - 1), DSERR_INVALIDPARAM);
    EXPECT_EQ(controlled->SetFrequency(DSBFREQUENCY_MAX + 1), DSERR_INVALIDPARAM);
    ASSERT_EQ(controlled->SetVolume(-1234), DS_OK);
    ASSERT_EQ(controlled->SetPan(-567), DS_OK);
    ASSERT_EQ(controlled->SetFrequency(DSBFREQUENCY_MAX), DS_OK);
    ASSERT_EQ(controlled->GetVolume(&value), DS_OK);
    EXPECT_EQ(value, -1234);
    ASSERT_EQ(controlled->GetPan(&value), DS_OK);
    EXPECT_EQ(value, -567);
    ASSERT_EQ(controlled->GetFrequency(&frequency), DS_OK);
    EXPECT_EQ(frequency, static_cast<DWORD>(DSBFREQUENCY_MAX));

    EXPECT_EQ(controlled->Play(1, 0, 0), DSERR_INVALIDPARAM) << "reserved must be 0";
    EXPECT_EQ(controlled->Play(0, 5, 0), DSERR_INVALIDPARAM) << "priority needs LOCDEFER";
}

TEST_F(Buffers, LostBufferRefusesToPlayUntilRestored) {
    const std::vector<std::int16_t> wave(2000, 1000);
    IDirectSoundBuffer* buffer = MakeSamples16(wave, 1, 22050);
    IDirectSoundBuffer* duplicate = nullptr;
    ASSERT_EQ(device_->DuplicateSoundBuffer(buffer, &duplicate), DS_OK);
    Releaser<IDirectSoundBuffer> release{duplicate};
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);

    winapi::hooks::LoseSoundBuffers();
    for (IDirectSoundBuffer* lost : {buffer, duplicate}) {
        DWORD status = 0;
        ASSERT_EQ(lost->GetStatus(&status), DS_OK);
        EXPECT_EQ(status, static_cast<DWORD>(DSBSTATUS_BUFFERLOST)) << "lost and stopped";
        void* region = nullptr;
        DWORD bytes = 0;
        EXPECT_EQ(lost->Lock(0, 0, &region, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER),
                  DSERR_BUFFERLOST);
        EXPECT_EQ(lost->Play(0, 0, 0), DSERR_BUFFERLOST);
    }

    winapi::hooks::RefuseSoundRestores(2);
    EXPECT_EQ(buffer->Restore(), DSERR_BUFFERLOST);
    EXPECT_EQ(buffer->Restore(), DSERR_BUFFERLOST);
    ASSERT_EQ(buffer->Restore(), DS_OK);
    DWORD status = 1;
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
    void* region = nullptr;
    DWORD bytes = 0;
    ASSERT_EQ(buffer->Lock(0, 0, &region, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    EXPECT_EQ(static_cast<BYTE*>(region)[0], 0) << "a restored buffer must be refilled";
    buffer->Unlock(region, bytes, nullptr, 0);
    EXPECT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(duplicate->Play(0, 0, 0), DSERR_BUFFERLOST) << "each buffer is restored itself";
}

TEST_F(Buffers, BufferLivesUntilItsLastRelease) {
    IDirectSoundBuffer* buffer = nullptr;
    DSBUFFERDESC description =
        Description(DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_CTRL3D, 4096, &mono16_);
    ASSERT_EQ(device_->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
    IDirectSoundNotify* notify = nullptr;
    IDirectSound3DBuffer* spatial = nullptr;
    ASSERT_EQ(buffer->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify)),
              S_OK);
    ASSERT_EQ(buffer->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(&spatial)),
              S_OK);
    EXPECT_EQ(buffer->Release(), 2u);
    EXPECT_EQ(notify->Release(), 1u);
    D3DVECTOR position{};
    EXPECT_EQ(spatial->GetPosition(&position), DS_OK) << "still alive through its 3D interface";
    EXPECT_EQ(spatial->Release(), 0u);

    IDirectSoundBuffer* plain = MakeBuffer(&mono16_, 4096);
    void* none = &position;
    EXPECT_EQ(plain->QueryInterface(IID_IDirectSoundNotify, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(plain->QueryInterface(IID_IDirectSound3DBuffer, &none), E_NOINTERFACE);
}

TEST_F(Buffers, BuffersOutliveTheirDevice) {
    IDirectSound8* device = nullptr;
    ASSERT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DS_OK);
    ASSERT_EQ(device->SetCooperativeLevel(dsound_test::TestWindow(), DSSCL_PRIORITY), DS_OK);
    WAVEFORMATEX format = PcmFormat(1, 22050, 8);
    DSBUFFERDESC description = Description(0, 100, &format);
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
    EXPECT_EQ(device->Release(), 0u);

    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    const std::vector<BYTE> mix = winapi::hooks::RenderSoundMix(10);
    EXPECT_EQ(mix.size(), 20u) << "the device's mixer lives on with its buffer";
    EXPECT_EQ(buffer->Release(), 0u);
}

TEST_F(Buffers, DuplicatesAreRefusedForThePrimaryAndForEffectBuffers) {
    DSBUFFERDESC description = Description(DSBCAPS_PRIMARYBUFFER, 0, nullptr);
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_EQ(device_->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
    Releaser<IDirectSoundBuffer> releasePrimary{primary};
    IDirectSoundBuffer* duplicate = nullptr;
    EXPECT_EQ(device_->DuplicateSoundBuffer(primary, &duplicate), DSERR_INVALIDCALL);
    IDirectSoundBuffer* effects = MakeBuffer(&mono16_, 22050, DSBCAPS_CTRLFX);
    EXPECT_EQ(device_->DuplicateSoundBuffer(effects, &duplicate), DSERR_INVALIDCALL);
    EXPECT_EQ(duplicate, nullptr);
}

TEST_F(Buffers, PrimaryBufferSetsTheOutputFormatAtPriorityLevel) {
    DSBUFFERDESC description = Description(DSBCAPS_PRIMARYBUFFER, 0, nullptr);
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_EQ(device_->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
    Releaser<IDirectSoundBuffer> release{primary};

    WAVEFORMATEX format{};
    DWORD written = 0;
    ASSERT_EQ(primary->GetFormat(&format, sizeof format, &written), DS_OK);
    EXPECT_EQ(format.nSamplesPerSec, 22050u);

    WAVEFORMATEX wanted = PcmFormat(2, 22050, 16);
    ASSERT_EQ(primary->SetFormat(&wanted), DS_OK);
    ASSERT_EQ(primary->GetFormat(&format, sizeof format, &written), DS_OK);
    EXPECT_EQ(written, sizeof(WAVEFORMATEX));
    EXPECT_EQ(format.nBlockAlign, 4);
    EXPECT_EQ(format.nAvgBytesPerSec, 88200u);
    EXPECT_EQ(Render(10).size(), 40u);

    void* region = nullptr;
    DWORD bytes = 0;
    EXPECT_EQ(primary->Lock(0, 4, &region, &bytes, nullptr, nullptr, 0), DSERR_PRIOLEVELNEEDED);
    void* listener = nullptr;
    EXPECT_EQ(primary->QueryInterface(IID_IDirectSound3DListener, &listener), E_NOINTERFACE)
        << "the listener needs DSBCAPS_CTRL3D";

    ASSERT_EQ(device_->SetCooperativeLevel(dsound_test::TestWindow(), DSSCL_NORMAL), DS_OK);
    EXPECT_EQ(primary->SetFormat(&wanted), DSERR_PRIOLEVELNEEDED);
}

} // namespace
