// 3D buffers heard through the listener: distance, side, cone, modes and deferred settings.

#include "dsound_test_support.h"

#include <cmath>

namespace {

using dsound_test::Description;
using dsound_test::OfflineDevice;
using dsound_test::PcmFormat;
using dsound_test::Releaser;

class Spatial : public OfflineDevice {
protected:
    void SetUp() override {
        OfflineDevice::SetUp();
        SetOutputFormat(2, 22050, 16);
        DSBUFFERDESC description = Description(DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D, 0, nullptr);
        IDirectSoundBuffer* primary = nullptr;
        ASSERT_EQ(device_->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
        ASSERT_EQ(primary->QueryInterface(IID_IDirectSound3DListener,
                                          reinterpret_cast<void**>(&listener_)),
                  S_OK);
        primary->Release();

        const std::vector<std::int16_t> level(4000, 16000);
        IDirectSoundBuffer* buffer = MakeSamples16(level, 1, 22050, DSBCAPS_CTRL3D);
        ASSERT_EQ(
            buffer->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(&sound_)),
            S_OK);
        ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    }

    void TearDown() override {
        if (sound_ != nullptr) {
            sound_->Release();
        }
        if (listener_ != nullptr) {
            listener_->Release();
        }
        OfflineDevice::TearDown();
    }

    // Left and right gain of the sound, after any ramp has settled.
    std::pair<double, double> Heard() {
        const auto mix = Render16(1024);
        return {mix[mix.size() - 2] / 16000.0, mix[mix.size() - 1] / 16000.0};
    }

    IDirectSound3DListener* listener_ = nullptr;
    IDirectSound3DBuffer* sound_ = nullptr;
};

TEST_F(Spatial, LevelFallsWithDistanceBeyondTheMinimumAndHoldsAtTheMaximum) {
    ASSERT_EQ(sound_->SetPosition(0, 0, 1, DS3D_IMMEDIATE), DS_OK);
    auto [left, right] = Heard();
    EXPECT_NEAR(left, 1.0, 0.001);
    EXPECT_NEAR(right, 1.0, 0.001);

    ASSERT_EQ(sound_->SetPosition(0, 0, 4, DS3D_IMMEDIATE), DS_OK);
    std::tie(left, right) = Heard();
    EXPECT_NEAR(left, 0.25, 0.001) << "inverse distance at rolloff 1";

    ASSERT_EQ(listener_->SetRolloffFactor(2, DS3D_IMMEDIATE), DS_OK);
    std::tie(left, right) = Heard();
    EXPECT_NEAR(left, 1.0 / 7.0, 0.001);

    ASSERT_EQ(listener_->SetRolloffFactor(1, DS3D_IMMEDIATE), DS_OK);
    ASSERT_EQ(sound_->SetMinDistance(2, DS3D_IMMEDIATE), DS_OK);
    ASSERT_EQ(sound_->SetMaxDistance(8, DS3D_IMMEDIATE), DS_OK);
    ASSERT_EQ(sound_->SetPosition(0, 0, 100, DS3D_IMMEDIATE), DS_OK);
    std::tie(left, right) = Heard();
    EXPECT_NEAR(left, 0.25, 0.001) << "as loud as at the maximum distance";
}

TEST_F(Spatial, SideFollowsTheListenersOrientation) {
    ASSERT_EQ(sound_->SetPosition(1, 0, 0, DS3D_IMMEDIATE), DS_OK);
    auto [left, right] = Heard();
    EXPECT_NEAR(left, 0.0, 0.001);
    EXPECT_NEAR(right, 1.0, 0.001);

    ASSERT_EQ(listener_->SetOrientation(0, 0, -1, 0, 1, 0, DS3D_IMMEDIATE), DS_OK);
    std::tie(left, right) = Heard();
    EXPECT_NEAR(left, 1.0, 0.001) << "turned round, the sound is on the left";
    EXPECT_NEAR(right, 0.0, 0.001);

    ASSERT_EQ(listener_->SetOrientation(0, 0, 1, 0, 1, 0, DS3D_IMMEDIATE), DS_OK);
    ASSERT_EQ(sound_->SetPosition(-1, 0, 1, DS3D_IMMEDIATE), DS_OK);
    std::tie(left, right) = Heard();
    EXPECT_GT(left, right);
    EXPECT_GT(right, 0.0);
}

TEST_F(Spatial, HeadRelativeAndDisabledModesIgnoreTheListenersPlace) {
    ASSERT_EQ(listener_->SetPosition(50, 0, 0, DS3D_IMMEDIATE), DS_OK);
    ASSERT_EQ(sound_->SetMode(DS3DMODE_HEADRELATIVE, DS3D_IMMEDIATE), DS_OK);
    ASSERT_EQ(sound_->SetPosition(0, 0, 2, DS3D_IMMEDIATE), DS_OK);
    auto [left, right] = Heard();
    EXPECT_NEAR(left, 0.5, 0.001);
    EXPECT_NEAR(right, 0.5, 0.001);

    ASSERT_EQ(sound_->SetMode(DS3DMODE_DISABLE, DS3D_IMMEDIATE), DS_OK);
    std::tie(left, right) = Heard();
    EXPECT_NEAR(left, 1.0, 0.001);
    EXPECT_NEAR(right, 1.0, 0.001);
}

TEST_F(Spatial, DeferredSettingsWaitForTheCommit) {
    ASSERT_EQ(sound_->SetPosition(0, 0, 4, DS3D_DEFERRED), DS_OK);
    ASSERT_EQ(listener_->SetPosition(0, 0, 2, DS3D_DEFERRED), DS_OK);
    auto [left, right] = Heard();
    EXPECT_NEAR(left, 1.0, 0.001) << "nothing moved yet";
    ASSERT_EQ(listener_->CommitDeferredSettings(), DS_OK);
    std::tie(left, right) = Heard();
    EXPECT_NEAR(left, 0.5, 0.001);
    D3DVECTOR position{};
    ASSERT_EQ(sound_->GetPosition(&position), DS_OK);
    EXPECT_EQ(position.z, 4.0f);
}

TEST_F(Spatial, SoundOutsideItsConeIsAtTheOutsideVolume) {
    DS3DBUFFER parameters{};
    parameters.dwSize = sizeof parameters;
    ASSERT_EQ(sound_->GetAllParameters(&parameters), DS_OK);
    EXPECT_EQ(parameters.flMaxDistance, DS3D_DEFAULTMAXDISTANCE);
    parameters.vPosition = {0, 0, 1};
    parameters.vConeOrientation = {0, 0, 1}; // pointing away from the listener
    parameters.dwInsideConeAngle = 90;
    parameters.dwOutsideConeAngle = 180;
    parameters.lConeOutsideVolume = -2000;
    ASSERT_EQ(sound_->SetAllParameters(&parameters, DS3D_IMMEDIATE), DS_OK);
    auto [left, right] = Heard();
    EXPECT_NEAR(left, 0.1, 0.001);

    ASSERT_EQ(sound_->SetConeOrientation(0, 0, -1, DS3D_IMMEDIATE), DS_OK);
    std::tie(left, right) = Heard();
    EXPECT_NEAR(left, 1.0, 0.001) << "facing the listener";
}

TEST_F(Spatial, MuteAtMaxDistanceSilencesAFarSound) {
    const std::vector<std::int16_t> level(4000, 16000);
    IDirectSoundBuffer* buffer =
        MakeSamples16(level, 1, 22050, DSBCAPS_CTRL3D | DSBCAPS_MUTE3DATMAXDISTANCE);
    IDirectSound3DBuffer* far = nullptr;
    ASSERT_EQ(buffer->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(&far)),
              S_OK);
    Releaser<IDirectSound3DBuffer> release{far};
    ASSERT_EQ(sound_->SetPosition(0, 0, 1000, DS3D_IMMEDIATE), DS_OK);
    ASSERT_EQ(sound_->SetMaxDistance(10, DS3D_IMMEDIATE), DS_OK);
    ASSERT_EQ(far->SetPosition(0, 0, 1000, DS3D_IMMEDIATE), DS_OK);
    ASSERT_EQ(far->SetMaxDistance(10, DS3D_IMMEDIATE), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    const auto [left, right] = Heard();
    EXPECT_NEAR(left, 0.1, 0.001) << "only the sound held at its maximum distance is heard";
}

TEST_F(Spatial, OutOfRangeParametersAreRefusedAndChangeNothing) {
    EXPECT_EQ(sound_->SetConeAngles(200, 100, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound_->SetConeAngles(10, 361, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound_->SetMinDistance(0, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound_->SetMode(3, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound_->SetPosition(1, 2, 3, 7), DSERR_INVALIDPARAM);
    EXPECT_EQ(listener_->SetRolloffFactor(11, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
    EXPECT_EQ(listener_->SetOrientation(0, 1, 0, 0, 2, 0, DS3D_IMMEDIATE), DSERR_INVALIDPARAM)
        << "front and top must not be parallel";
    DS3DBUFFER parameters{};
    parameters.dwSize = sizeof parameters - 4;
    EXPECT_EQ(sound_->GetAllParameters(&parameters), DSERR_INVALIDPARAM);

    DWORD inside = 0, outside = 0;
    ASSERT_EQ(sound_->GetConeAngles(&inside, &outside), DS_OK);
    EXPECT_EQ(inside, static_cast<DWORD>(DS3D_DEFAULTCONEANGLE));
    D3DVALUE distance = 0;
    ASSERT_EQ(sound_->GetMinDistance(&distance), DS_OK);
    EXPECT_EQ(distance, DS3D_DEFAULTMINDISTANCE);
    D3DVECTOR front{}, top{};
    ASSERT_EQ(listener_->GetOrientation(&front, &top), DS_OK);
    EXPECT_EQ(front.z, 1.0f);
    EXPECT_EQ(top.y, 1.0f);
}

} // namespace
