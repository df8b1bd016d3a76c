#include "mmio_test_support.h"
#include "winapi/resources.h"

#include <mmsystem.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace mmio_test;

Bytes ResourceBytes(HRSRC resource) {
    HGLOBAL loaded = LoadResource(nullptr, resource);
    const auto* data = static_cast<const std::uint8_t*>(LockResource(loaded));
    return data ? Bytes(data, data + SizeofResource(nullptr, resource)) : Bytes();
}

TEST(Resources, EmbeddedFilesAreFoundByTypeAndNameInAnyCase) {
    HRSRC tone = FindResourceA(nullptr, "testtone", "wave");
    ASSERT_NE(tone, nullptr);
    EXPECT_EQ(FindResourceA(nullptr, "TESTTONE", "WAVE"), tone);
    EXPECT_EQ(SizeofResource(nullptr, tone), 204u);
    EXPECT_EQ(ResourceBytes(tone), ReadAll(SamplePath("tone16.wav")));

    // The type is part of the key.
    EXPECT_EQ(FindResourceA(nullptr, "TestTone", "WAV"), nullptr);
    EXPECT_NE(FindResourceA(nullptr, "LowerType", "WAV"), nullptr);
    EXPECT_EQ(FindResourceA(nullptr, "LowerType", "WAVE"), nullptr);
}

TEST(Resources, IntegerIdsMatchTheirNumberSign) {
    HRSRC byId = FindResourceA(nullptr, MAKEINTRESOURCE(101), "WAVE");
    ASSERT_NE(byId, nullptr);
    EXPECT_EQ(FindResourceA(nullptr, "#101", "WAVE"), byId);
    EXPECT_EQ(ResourceBytes(byId), ReadAll(SamplePath("odd8.wav")));

    static const char kPayload[] = "raw";
    winapi::RegisterResource("#10", "table", kPayload, 3);
    HRSRC raw = FindResourceA(nullptr, "TABLE", RT_RCDATA);
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(SizeofResource(nullptr, raw), 3u);
}

TEST(Resources, MissingResourcesAndBadHandlesGiveNothing) {
    EXPECT_EQ(FindResourceA(nullptr, "absent", "WAVE"), nullptr);
    EXPECT_EQ(FindResourceA(nullptr, nullptr, "WAVE"), nullptr);
    int notAResource = 0;
    HRSRC bogus = reinterpret_cast<HRSRC>(&notAResource);
    EXPECT_EQ(LoadResource(nullptr, bogus), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, bogus), 0u);
    EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);
    EXPECT_EQ(LockResource(nullptr), nullptr);
}

TEST(Resources, AWaveResourceReadsAsAMemoryFile) {
    HRSRC tone = FindResourceA(nullptr, "TestTone", "WAVE");
    Bytes copy = ResourceBytes(tone);
    HMMIO file = OpenMemory(copy);
    ASSERT_NE(file, nullptr);
    MMCKINFO riff{};
    ASSERT_EQ(mmioDescend(file, &riff, nullptr, 0), MMSYSERR_NOERROR);
    MMCKINFO data{};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    ASSERT_EQ(mmioDescend(file, &data, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(data.cksize, 160u);
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
}

} // namespace
