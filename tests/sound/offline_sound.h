#pragma once
// A sound device on the offline mixer, with the primary format the game sets (22050 Hz, 16-bit
// stereo), and helpers to save waves and look into buffers.

#include "sound/sound_device.h"
#include "wave_fixtures.h"
#include "winapi/hooks/dsound.h"
#include "winapi/profile.h"

#include <gtest/gtest.h>

class OfflineSound : public testing::Test {
protected:
    void SetUp() override {
        winapi::SelectProfile(winapi::Profile::Offline);
        ASSERT_EQ(device.Initialize(Window(), DSSCL_PRIORITY), S_OK);
        ASSERT_EQ(device.SetPrimaryBufferFormat(2, 22050, 16), S_OK);
    }

    // The mixer needs a window only to bind the device to; it never draws in it.
    static HWND Window() { return reinterpret_cast<HWND>(&windowStandIn); }

    std::string Save(const wavetest::Bytes& file, const std::string& name = "sound.wav") {
        std::string path = folder.File(name);
        wavetest::WriteFileBytes(path, file);
        return path;
    }

    static wavetest::Bytes Contents(LPDIRECTSOUNDBUFFER buffer, DWORD offset, DWORD size) {
        void* region = nullptr;
        DWORD regionSize = 0;
        EXPECT_EQ(buffer->Lock(offset, size, &region, &regionSize, nullptr, nullptr, 0), S_OK);
        const BYTE* bytes = static_cast<const BYTE*>(region);
        wavetest::Bytes copy(bytes, bytes + regionSize);
        buffer->Unlock(region, regionSize, nullptr, 0);
        return copy;
    }

    static void Scribble(LPDIRECTSOUNDBUFFER buffer, DWORD size, BYTE value) {
        void* region = nullptr;
        DWORD regionSize = 0;
        ASSERT_EQ(buffer->Lock(0, size, &region, &regionSize, nullptr, nullptr, 0), S_OK);
        std::fill_n(static_cast<BYTE*>(region), regionSize, value);
        buffer->Unlock(region, regionSize, nullptr, 0);
    }

    static inline int windowStandIn = 0;
    wavetest::TempFolder folder;
    SoundDevice device;
};
