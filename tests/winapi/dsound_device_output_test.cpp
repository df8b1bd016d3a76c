// Sound played into an output device through SDL2 (its dummy driver, which plays in real time
// without a sound card): how long the output lags behind the mix, and a device that goes away.

#include "dsound_test_support.h"
#include "winapi/profile.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using dsound_test::Description;
using dsound_test::PcmFormat;
using dsound_test::TestWindow;

constexpr DWORD kGenerousWaitMs = 10000;

// True once `condition` holds; false if it still does not after the generous wait.
bool Eventually(const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kGenerousWaitMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

class DeviceOutput : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(DirectSoundCreate8(nullptr, &device_, nullptr), DS_OK);
        ASSERT_EQ(device_->SetCooperativeLevel(TestWindow(), DSSCL_PRIORITY), DS_OK);
    }

    void TearDown() override {
        winapi::hooks::ResetSoundHooks();
        for (IUnknown* object : objects_) {
            object->Release();
        }
        if (device_ != nullptr) {
            device_->Release();
        }
    }

    template <typename Interface> Interface* Keep(Interface* object) {
        objects_.push_back(object);
        return object;
    }

    IDirectSoundBuffer* Primary() {
        DSBUFFERDESC description = Description(DSBCAPS_PRIMARYBUFFER, 0, nullptr);
        IDirectSoundBuffer* primary = nullptr;
        EXPECT_EQ(device_->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
        return Keep(primary);
    }

    IDirectSound8* device_ = nullptr;

private:
    dsound_test::SoundOutputProfile output_{winapi::Profile::Desktop};
    std::vector<IUnknown*> objects_;
};

// What is mixed is heard after the device's buffer and one mixing block: at most 30 ms, at the
// game's 22050 Hz as at the rates around it.
TEST_F(DeviceOutput, LatencyFromMixToDeviceStaysWithin30Ms) {
    IDirectSoundBuffer* primary = Primary();
    ASSERT_NE(primary, nullptr);
    for (DWORD rate : {8000u, 11025u, 22050u, 44100u, 48000u, 96000u}) {
        WAVEFORMATEX format = PcmFormat(2, rate, 16);
        ASSERT_EQ(primary->SetFormat(&format), DS_OK);
        const DWORD frames = winapi::hooks::SoundOutputLatencyFrames(device_);
        EXPECT_GT(frames, 0u) << rate << " Hz: not on the device";
        EXPECT_LE(frames * 1000.0 / rate, 30.0) << rate << " Hz: " << frames << " frames";
    }
}

// A USB headset pulled out: the mix goes on into silence, so cursors move and notifications fire,
// with one line on standard error; once an output device is there again the mix goes back to it.
TEST_F(DeviceOutput, RemovedDeviceLeavesCursorsAndNotificationsRunningUntilItReturns) {
    ASSERT_TRUE(winapi::hooks::PlaysIntoOutputDevice(device_));
    WAVEFORMATEX format = PcmFormat(1, 8000, 8);
    DSBUFFERDESC description = Description(DSBCAPS_CTRLPOSITIONNOTIFY, 800, &format);
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(device_->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
    Keep(buffer);
    IDirectSoundNotify* notify = nullptr;
    ASSERT_EQ(buffer->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify)),
              S_OK);
    Keep(notify);
    HANDLE passed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const DSBPOSITIONNOTIFY positions[] = {{0, passed}, {400, passed}};
    ASSERT_EQ(notify->SetNotificationPositions(2, positions), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    ASSERT_EQ(WaitForSingleObject(passed, kGenerousWaitMs), WAIT_OBJECT_0) << "not playing";

    testing::internal::CaptureStderr();
    winapi::hooks::RemoveOutputDevice();
    const bool moved =
        Eventually([this] { return !winapi::hooks::PlaysIntoOutputDevice(device_); });
    DWORD before = 0;
    ASSERT_EQ(buffer->GetCurrentPosition(&before, nullptr), DS_OK);
    ResetEvent(passed);
    const DWORD waited = WaitForSingleObject(passed, kGenerousWaitMs);
    DWORD after = 0;
    ASSERT_EQ(buffer->GetCurrentPosition(&after, nullptr), DS_OK);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(moved) << "still on the removed device";
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "no notification after the device went";
    EXPECT_NE(after, before) << "the play cursor stood still";
    EXPECT_EQ(errors, "sound: the output device was removed; mixing into silence until one is "
                      "available again\n");
    DWORD status = 0;
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);

    winapi::hooks::ReturnOutputDevice();
    EXPECT_TRUE(Eventually([this] { return winapi::hooks::PlaysIntoOutputDevice(device_); }))
        << "did not go back to the device";
    ResetEvent(passed);
    EXPECT_EQ(WaitForSingleObject(passed, kGenerousWaitMs), WAIT_OBJECT_0)
        << "no notification on the returned device";
    CloseHandle(passed);
}

} // namespace
