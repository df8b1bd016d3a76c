// The mixing thread must never allocate: a sound card's callback that waits for the allocator
// drops out. Every allocation is counted while the calling thread is inside the mix.

#include "dsound_test_support.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> allocationsWhileMixing{0};

void* TryAllocate(std::size_t size) noexcept {
    if (winapi::hooks::InsideSoundMix()) {
        ++allocationsWhileMixing;
    }
    return std::malloc(size == 0 ? 1 : size);
}

void* Allocate(std::size_t size) {
    if (void* memory = TryAllocate(size)) {
        return memory;
    }
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}

void* operator new[](std::size_t size) {
    return Allocate(size);
}

// Every form that the deletes below free must come from malloc too.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return TryAllocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return TryAllocate(size);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete[](void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace {

using dsound_test::OfflineDevice;
using dsound_test::PcmFormat;

class RealTimeMixing : public OfflineDevice {
protected:
    void SetUp() override {
        OfflineDevice::SetUp();
        for (HANDLE& event : events_) {
            event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        }
    }

    void TearDown() override {
        OfflineDevice::TearDown();
        for (HANDLE event : events_) {
            CloseHandle(event);
        }
    }

    void Notify(IDirectSoundBuffer* buffer, const std::vector<DSBPOSITIONNOTIFY>& positions) {
        IDirectSoundNotify* notify = nullptr;
        ASSERT_EQ(buffer->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify)),
                  S_OK);
        EXPECT_EQ(notify->SetNotificationPositions(static_cast<DWORD>(positions.size()),
                                                   positions.data()),
                  DS_OK);
        notify->Release();
    }

    HANDLE events_[6] = {};
};

// Thirty seconds in callback-sized pieces: a streaming buffer of four 10 ms segments that
// notifies at each, a resampled stereo loop, a 3D voice and a one-shot that ends and notifies.
TEST_F(RealTimeMixing, MixingWithNotificationsNeverAllocates) {
    SetOutputFormat(2, 22050, 16);
    WAVEFORMATEX mono = PcmFormat(1, 22050, 16);
    constexpr DWORD kSegmentBytes = 441 * 2;
    IDirectSoundBuffer* stream =
        MakeBuffer(&mono, 4 * kSegmentBytes, DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_CTRLVOLUME);
    ASSERT_NE(stream, nullptr);
    std::vector<DSBPOSITIONNOTIFY> segments;
    for (DWORD i = 0; i < 4; ++i) {
        segments.push_back({i * kSegmentBytes, events_[i]});
    }
    Notify(stream, segments);

    WAVEFORMATEX stereo8 = PcmFormat(2, 11025, 8);
    IDirectSoundBuffer* loop = MakeBuffer(&stereo8, 11025, DSBCAPS_CTRLPAN);
    WAVEFORMATEX mono8 = PcmFormat(1, 16000, 8);
    IDirectSoundBuffer* spatial = MakeBuffer(&mono8, 8000, DSBCAPS_CTRL3D);
    IDirectSoundBuffer* shot = MakeBuffer(&mono, 22050 * 2, DSBCAPS_CTRLPOSITIONNOTIFY);
    ASSERT_TRUE(loop != nullptr && spatial != nullptr && shot != nullptr);
    Notify(shot, {{1000, events_[4]}, {DSBPN_OFFSETSTOP, events_[5]}});

    ASSERT_EQ(stream->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    ASSERT_EQ(loop->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    ASSERT_EQ(spatial->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    ASSERT_EQ(shot->Play(0, 0, 0), DS_OK);

    allocationsWhileMixing = 0;
    constexpr DWORD kCallbackFrames = 512;
    for (DWORD frames = 0; frames < 30 * 22050; frames += kCallbackFrames) {
        Render(kCallbackFrames);
        if (frames % (22050 * 5) < kCallbackFrames) {
            stream->SetVolume(-100 * static_cast<LONG>(frames / 22050)); // gain ramps too
        }
    }
    EXPECT_EQ(allocationsWhileMixing.load(), 0);
    // The notifications did fire.
    EXPECT_EQ(WaitForSingleObject(events_[0], 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(events_[5], 0), WAIT_OBJECT_0);
}

} // namespace
