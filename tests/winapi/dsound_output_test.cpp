// The silent output: without a sound card, sound still plays in real time.

#include "dsound_test_support.h"
#include "winapi/profile.h"

#include <windows.h>

namespace {

using dsound_test::Description;
using dsound_test::PcmFormat;

TEST(SilentOutput, PlaysInRealTimeSoCursorsMoveAndNotificationsFire) {
    winapi::SelectProfile(winapi::Profile::Headless);
    IDirectSound8* device = nullptr;
    ASSERT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DS_OK);
    winapi::SelectProfile(winapi::Profile::Offline);
    ASSERT_EQ(device->SetCooperativeLevel(dsound_test::TestWindow(), DSSCL_PRIORITY), DS_OK);
    EXPECT_TRUE(winapi::hooks::RenderSoundMix(100, device).empty()) << "not an offline device";

    WAVEFORMATEX format = PcmFormat(1, 8000, 8);
    DSBUFFERDESC description = Description(DSBCAPS_CTRLPOSITIONNOTIFY, 400, &format);
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
    IDirectSoundNotify* notify = nullptr;
    ASSERT_EQ(buffer->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify)),
              S_OK);
    HANDLE finished = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const DSBPOSITIONNOTIFY atStop{DSBPN_OFFSETSTOP, finished};
    ASSERT_EQ(notify->SetNotificationPositions(1, &atStop), DS_OK);

    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    // 50 ms of sound; the wait only guards against a mixer that never runs.
    EXPECT_EQ(WaitForSingleObject(finished, 20000), WAIT_OBJECT_0);
    DWORD status = 1;
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);

    CloseHandle(finished);
    notify->Release();
    buffer->Release();
    device->Release();
}

} // namespace
