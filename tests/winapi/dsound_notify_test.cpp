// Position notifications: events signalled as the play cursor passes each offset, and on stop.

#include "dsound_test_support.h"

#include <windows.h>

#include <numeric>

namespace {

using dsound_test::OfflineDevice;
using dsound_test::PcmFormat;
using dsound_test::Releaser;

bool Signalled(HANDLE event) {
    return WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

class Notifications : public OfflineDevice {
protected:
    void SetUp() override {
        OfflineDevice::SetUp();
        SetOutputFormat(1, 8000, 16);
        for (HANDLE& event : events_) {
            event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        }
    }

    void TearDown() override {
        if (notify_ != nullptr) {
            notify_->Release();
        }
        for (HANDLE event : events_) {
            CloseHandle(event);
        }
        OfflineDevice::TearDown();
    }

    // A mono 16-bit buffer at the output's rate, with its notification interface.
    IDirectSoundBuffer* MakeNotifyingBuffer(DWORD bytes) {
        WAVEFORMATEX format = PcmFormat(1, 8000, 16);
        IDirectSoundBuffer* buffer = MakeBuffer(&format, bytes, DSBCAPS_CTRLPOSITIONNOTIFY);
        EXPECT_EQ(
            buffer->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify_)),
            S_OK);
        return buffer;
    }

    // Which of the events were signalled since the last look (each is auto-reset).
    std::vector<bool> Fired() {
        std::vector<bool> fired;
        for (HANDLE event : events_) {
            fired.push_back(Signalled(event));
        }
        return fired;
    }

    HANDLE events_[4] = {};
    IDirectSoundNotify* notify_ = nullptr;
};

TEST_F(Notifications, EachOffsetFiresWhenThePlayCursorPassesItsByte) {
    IDirectSoundBuffer* buffer = MakeNotifyingBuffer(4000);
    const DSBPOSITIONNOTIFY positions[] = {
        {999, events_[0]}, {1999, events_[1]}, {3999, events_[2]}, {DSBPN_OFFSETSTOP, events_[3]}};
    ASSERT_EQ(notify_->SetNotificationPositions(4, positions), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);

    Render(499); // the cursor sits on byte 998: offset 999 is not passed yet
    EXPECT_EQ(Fired(), (std::vector<bool>{false, false, false, false}));
    Render(1); // bytes 998 and 999 played
    EXPECT_EQ(Fired(), (std::vector<bool>{true, false, false, false}));
    Render(1500); // to the end of the buffer, wrapping to 0
    EXPECT_EQ(Fired(), (std::vector<bool>{false, true, true, false}));
    Render(2000); // one more turn in one go
    EXPECT_EQ(Fired(), (std::vector<bool>{true, true, true, false}));

    ASSERT_EQ(buffer->Stop(), DS_OK);
    EXPECT_EQ(Fired(), (std::vector<bool>{false, false, false, true}));
    ASSERT_EQ(buffer->Stop(), DS_OK);
    EXPECT_FALSE(Signalled(events_[3])) << "stopping a stopped buffer";
}

TEST_F(Notifications, OffsetUnderTheCursorFiresOnlyOnceItsByteIsPlayed) {
    IDirectSoundBuffer* buffer = MakeNotifyingBuffer(4000);
    const DSBPOSITIONNOTIFY positions[] = {{1000, events_[0]}};
    ASSERT_EQ(notify_->SetNotificationPositions(1, positions), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    Render(500);
    DWORD play = 0;
    ASSERT_EQ(buffer->GetCurrentPosition(&play, nullptr), DS_OK);
    ASSERT_EQ(play, 1000u);
    EXPECT_FALSE(Signalled(events_[0]));
    Render(1);
    EXPECT_TRUE(Signalled(events_[0]));
}

TEST_F(Notifications, OneShotSignalsItsLastOffsetAndStopWhenItEnds) {
    IDirectSoundBuffer* buffer = MakeNotifyingBuffer(2000);
    const DSBPOSITIONNOTIFY positions[] = {{1999, events_[0]}, {DSBPN_OFFSETSTOP, events_[1]}};
    ASSERT_EQ(notify_->SetNotificationPositions(2, positions), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    Render(999);
    EXPECT_EQ(Fired(), (std::vector<bool>{false, false, false, false}));
    Render(500);
    EXPECT_EQ(Fired(), (std::vector<bool>{true, true, false, false}));
}

TEST_F(Notifications, PositionsAreCheckedAndFixedWhilePlaying) {
    IDirectSoundBuffer* buffer = MakeNotifyingBuffer(2000);
    const DSBPOSITIONNOTIFY outside[] = {{2000, events_[0]}};
    const DSBPOSITIONNOTIFY noEvent[] = {{10, nullptr}};
    const DSBPOSITIONNOTIFY valid[] = {{10, events_[0]}};
    EXPECT_EQ(notify_->SetNotificationPositions(1, outside), DSERR_INVALIDPARAM);
    EXPECT_EQ(notify_->SetNotificationPositions(1, noEvent), DSERR_INVALIDPARAM);
    EXPECT_EQ(notify_->SetNotificationPositions(1, nullptr), DSERR_INVALIDPARAM);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(notify_->SetNotificationPositions(1, valid), DSERR_INVALIDCALL);
    ASSERT_EQ(buffer->Stop(), DS_OK);
    ASSERT_EQ(notify_->SetNotificationPositions(1, valid), DS_OK);
    ASSERT_EQ(notify_->SetNotificationPositions(0, nullptr), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    Render(2000);
    EXPECT_FALSE(Signalled(events_[0])) << "the positions were cleared";
}

// The streaming pattern: a buffer of four segments, each refilled with the next part of a longer
// wave as soon as its last byte is passed, plays the whole wave without a gap.
TEST_F(Notifications, RefillingEachSegmentAsItIsPassedStreamsAContinuousWave) {
    constexpr DWORD kSegmentBytes = 400;
    constexpr DWORD kSegments = 4;
    std::vector<std::int16_t> wave(5000);
    std::iota(wave.begin(), wave.end(), std::int16_t{-2500});
    IDirectSoundBuffer* buffer = MakeNotifyingBuffer(kSegments * kSegmentBytes);
    DSBPOSITIONNOTIFY positions[kSegments];
    for (DWORD i = 0; i < kSegments; ++i) {
        positions[i] = {kSegmentBytes * i + kSegmentBytes - 1, events_[i]};
    }
    ASSERT_EQ(notify_->SetNotificationPositions(kSegments, positions), DS_OK);
    Write(buffer, 0, wave.data(), kSegments * kSegmentBytes);
    std::size_t nextWaveByte = kSegments * kSegmentBytes;
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);

    std::vector<std::int16_t> heard;
    while (heard.size() < wave.size()) {
        const auto block = Render16(50); // shorter than a segment
        heard.insert(heard.end(), block.begin(), block.end());
        for (DWORD i = 0; i < kSegments; ++i) {
            if (!Signalled(events_[i])) {
                continue;
            }
            std::vector<std::int16_t> segment(kSegmentBytes / 2, 0);
            const std::size_t first = nextWaveByte / 2;
            for (std::size_t k = 0; k < segment.size() && first + k < wave.size(); ++k) {
                segment[k] = wave[first + k];
            }
            Write(buffer, i * kSegmentBytes, segment.data(), kSegmentBytes);
            nextWaveByte += kSegmentBytes;
        }
    }
    heard.resize(wave.size());
    EXPECT_EQ(heard, wave);
}

} // namespace
