// Notifications seen by a thread that waits for them as a streaming clip does: positions a few
// milliseconds apart on one auto-reset event arrive as separate signals, on the silent output and
// on a sound card (SDL's dummy driver), whose callback mixes a whole device buffer at once.

#include "dsound_test_support.h"

#include <windows.h>

#include <atomic>
#include <thread>

namespace {

using dsound_test::PcmFormat;
using dsound_test::Releaser;
using dsound_test::TestWindow;

// The profile's output: the silent sink headless, SDL's dummy sound card on the desktop.
class NotificationTiming : public testing::TestWithParam<winapi::Profile> {
private:
    dsound_test::SoundOutputProfile output_{GetParam()};
};

TEST_P(NotificationTiming, PositionsSevenMillisecondsApartSignalOneEventTwice) {
    Releaser<IDirectSound8> device;
    ASSERT_EQ(DirectSoundCreate8(nullptr, &device.pointer, nullptr), DS_OK);
    ASSERT_EQ(device.pointer->SetCooperativeLevel(TestWindow(), DSSCL_PRIORITY), DS_OK);

    // A 30 ms one-shot at 8000 Hz, 16-bit mono: 16 bytes a millisecond.
    WAVEFORMATEX format = PcmFormat(1, 8000, 16);
    DSBUFFERDESC description =
        dsound_test::Description(DSBCAPS_CTRLPOSITIONNOTIFY, 30 * 16, &format);
    Releaser<IDirectSoundBuffer> buffer;
    ASSERT_EQ(device.pointer->CreateSoundBuffer(&description, &buffer.pointer, nullptr), DS_OK);
    Releaser<IDirectSoundNotify> notify;
    ASSERT_EQ(buffer.pointer->QueryInterface(IID_IDirectSoundNotify,
                                             reinterpret_cast<void**>(&notify.pointer)),
              S_OK);
    HANDLE segment = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE stopped = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const DSBPOSITIONNOTIFY positions[] = {
        {1 * 16, segment}, {8 * 16, segment}, {DSBPN_OFFSETSTOP, stopped}};
    ASSERT_EQ(notify.pointer->SetNotificationPositions(3, positions), DS_OK);

    // Both positions lie in the first 10 ms that each play mixes; several plays, so that a pass
    // that happens to separate them cannot hide a collapse.
    constexpr int kPlays = 12;
    std::atomic<int> seen{0};
    std::thread waiter([&] {
        while (seen < 2 * kPlays && WaitForSingleObject(segment, 2000) == WAIT_OBJECT_0) {
            ++seen;
        }
    });
    for (int play = 0; play < kPlays; ++play) {
        EXPECT_EQ(buffer.pointer->SetCurrentPosition(0), DS_OK);
        EXPECT_EQ(buffer.pointer->Play(0, 0, 0), DS_OK);
        if (WaitForSingleObject(stopped, 2000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "play " << play << " did not stop";
            break;
        }
    }
    waiter.join();
    // Collapsed signals lose about half of them; a waiter that a loaded machine keeps off the CPU
    // for the whole 7 ms may still miss one now and then.
    EXPECT_GE(seen.load(), 2 * kPlays - 2);
    CloseHandle(segment);
    CloseHandle(stopped);
}

INSTANTIATE_TEST_SUITE_P(Outputs, NotificationTiming,
                         testing::Values(winapi::Profile::Headless, winapi::Profile::Desktop),
                         [](const testing::TestParamInfo<winapi::Profile>& info) {
                             return info.param == winapi::Profile::Desktop ? "SoundCard"
                                                                           : "SilentSink";
                         });

} // namespace
