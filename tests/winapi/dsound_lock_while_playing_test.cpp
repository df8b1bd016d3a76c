// Writing a playing buffer: the application locks a region away from the play cursor and fills it
// while the mixer goes on reading the buffer on another thread.

#include "dsound_test_support.h"
#include "winapi/profile.h"

#include <atomic>
#include <chrono>
#include <set>
#include <thread>

namespace {

using dsound_test::Description;
using dsound_test::OfflineDevice;
using dsound_test::PcmFormat;

constexpr DWORD kSegmentFrames = 100;
constexpr DWORD kSegments = 8;
constexpr DWORD kSegmentBytes = kSegmentFrames * 2; // mono 16-bit
constexpr DWORD kBufferBytes = kSegments * kSegmentBytes;
// 5 ms at 8000 Hz: one of the mixer's sub-blocks, mixed under one hold of the engine's lock. A
// longer mix lets a commit in between its sub-blocks, and then a segment is rightly heard half old.
constexpr DWORD kOneSubBlockFrames = 40;

// Fills a segment half the buffer away from the play cursor with one value, a sample at a time
// and with pauses, as an application decoding into the buffer would.
HRESULT FillSegmentAhead(IDirectSoundBuffer* buffer, std::int16_t value) {
    DWORD play = 0;
    if (const HRESULT result = buffer->GetCurrentPosition(&play, nullptr); FAILED(result)) {
        return result;
    }
    const DWORD segment = (play / kSegmentBytes + kSegments / 2) % kSegments;
    void* region = nullptr;
    DWORD bytes = 0;
    if (const HRESULT result = buffer->Lock(segment * kSegmentBytes, kSegmentBytes, &region, &bytes,
                                            nullptr, nullptr, 0);
        FAILED(result)) {
        return result;
    }
    auto* samples = static_cast<std::int16_t*>(region);
    for (DWORD i = 0; i < bytes / 2; ++i) {
        samples[i] = value;
        if (i % 16 == 0) {
            std::this_thread::yield();
        }
    }
    return buffer->Unlock(region, bytes, nullptr, 0);
}

class LockWhilePlaying : public OfflineDevice {
protected:
    void SetUp() override {
        OfflineDevice::SetUp();
        SetOutputFormat(1, 8000, 16);
    }
};

// The mixer on the test's thread, the application on another: within one sub-block every segment
// holds one value, the old one or the new one, never part of each.
TEST_F(LockWhilePlaying, ARegionIsHeardWholeOldOrNewNeverHalfWritten) {
    WAVEFORMATEX format = PcmFormat(1, 8000, 16);
    IDirectSoundBuffer* buffer = MakeBuffer(&format, kBufferBytes);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);

    std::atomic<HRESULT> failure{DS_OK};
    std::jthread application([&](std::stop_token stop) {
        for (std::int16_t value = 1; !stop.stop_requested();
             value = static_cast<std::int16_t>(value % 30000 + 1)) {
            if (const HRESULT result = FillSegmentAhead(buffer, value); FAILED(result)) {
                failure = result;
                return;
            }
        }
    });

    // Until the mix has played a hundred of the values written meanwhile.
    std::set<std::int16_t> heard;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (heard.size() < 100 && failure == DS_OK && std::chrono::steady_clock::now() < deadline) {
        DWORD play = 0;
        ASSERT_EQ(buffer->GetCurrentPosition(&play, nullptr), DS_OK);
        const std::vector<std::int16_t> mix = Render16(kOneSubBlockFrames);
        for (std::size_t i = 1; i < mix.size(); ++i) {
            const DWORD frame = (play / 2 + static_cast<DWORD>(i)) % (kBufferBytes / 2);
            if (frame % kSegmentFrames != 0) {
                ASSERT_EQ(mix[i], mix[i - 1]) << "frame " << frame << " of a half-written segment";
            }
        }
        heard.insert(mix.begin(), mix.end());
        std::this_thread::yield(); // let the application take the engine's lock now and then
    }
    application.request_stop();
    application.join();
    EXPECT_EQ(failure.load(), DS_OK);
    EXPECT_GE(heard.size(), 100u);
}

// The real-time mixer of the silent output reads the buffer on its own thread while the test
// rewrites it from the write cursor on.
TEST(LockWhilePlayingSilentOutput, RegionsAreRewrittenWhileTheMixerThreadPlays) {
    winapi::SelectProfile(winapi::Profile::Headless);
    IDirectSound8* device = nullptr;
    ASSERT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DS_OK);
    winapi::SelectProfile(winapi::Profile::Offline);
    ASSERT_EQ(device->SetCooperativeLevel(dsound_test::TestWindow(), DSSCL_PRIORITY), DS_OK);
    WAVEFORMATEX format = PcmFormat(1, 8000, 16);
    DSBUFFERDESC description = Description(0, kBufferBytes, &format);
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);

    // Until the cursor, which the mixer moves every 10 ms, has been seen at two dozen places.
    std::set<DWORD> cursors;
    int writes = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (cursors.size() < 3 * kSegments && std::chrono::steady_clock::now() < deadline) {
        ASSERT_EQ(FillSegmentAhead(buffer, static_cast<std::int16_t>(writes % 1000 + 1)), DS_OK);
        ++writes;
        DWORD play = 0;
        ASSERT_EQ(buffer->GetCurrentPosition(&play, nullptr), DS_OK);
        cursors.insert(play);
    }
    EXPECT_GE(cursors.size(), 3 * kSegments) << "the mixer thread moved the cursor";
    DWORD status = 0;
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, static_cast<DWORD>(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING));

    buffer->Release();
    device->Release();
}

} // namespace
