// Damaged and hostile wave files: each is refused with its own result and trace messages, never
// read out of bounds, and leaves the wave file usable for the next open.

#include "sound/wave_file.h"
#include "wave_fixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace wavetest;
using Messages = std::vector<std::string>;

Bytes Fmt(std::uint16_t tag = WAVE_FORMAT_PCM) {
    return Chunk("fmt ", PcmFormatBody(tag, 1, 8000, 8));
}

struct BadFile {
    const char* name;
    Bytes file;
    HRESULT result;
    Messages traces;
};

Bytes Truncated(Bytes file, std::size_t size) {
    file.resize(size);
    return file;
}

Bytes WithExtraCount(std::uint16_t count, std::size_t extraPresent) {
    Bytes body = PcmFormatBody(WAVE_FORMAT_ADPCM, 1, 8000, 4);
    PutU16(body, count);
    body.insert(body.end(), extraPresent, 0x55);
    return RiffWave({Chunk("fmt ", body), Chunk("data", Ramp(100))});
}

std::vector<BadFile> BadFiles() {
    Bytes riffOnly;
    PutTag(riffOnly, "RIFF");
    PutU32(riffOnly, 4);
    PutTag(riffOnly, "WAVE");
    Bytes notRiff = PcmWave(1, 8000, 8, Ramp(10));
    notRiff[3] = 'X';
    Bytes notWave = PcmWave(1, 8000, 8, Ramp(10));
    notWave[8] = 'A';
    // The chunk claims 16 bytes; the file ends after 10 of them.
    Bytes formatBeyondFile = RiffWave({ChunkDeclaring("fmt ", 16, Bytes(10, 1))});
    return {
        {"empty file", {}, E_FAIL, {"mmioDescend", "ReadMMIO"}},
        {"only part of a header", Truncated(notRiff, 6), E_FAIL, {"mmioDescend", "ReadMMIO"}},
        {"not RIFF", notRiff, E_FAIL, {"mmioFOURCC", "ReadMMIO"}},
        {"RIFF but not WAVE", notWave, E_FAIL, {"mmioFOURCC", "ReadMMIO"}},
        {"no fmt chunk", RiffWave({Chunk("data", Ramp(10))}), E_FAIL, {"mmioDescend", "ReadMMIO"}},
        {"nothing inside RIFF", riffOnly, E_FAIL, {"mmioDescend", "ReadMMIO"}},
        {"fmt under 16 bytes",
         RiffWave({Chunk("fmt ", Bytes(14, 1)), Chunk("data", Ramp(10))}),
         E_FAIL,
         {"sizeof(PCMWAVEFORMAT)", "ReadMMIO"}},
        {"fmt cut off by the end of the file", formatBeyondFile, E_FAIL, {"mmioRead", "ReadMMIO"}},
        {"fmt whole but claiming more than the file holds: no data after it",
         RiffWave({ChunkDeclaring("fmt ", 100, PcmFormatBody(WAVE_FORMAT_PCM, 1, 8000, 8))}),
         E_FAIL,
         {"mmioDescend", "ResetFile"}},
        {"extra-size count cut off",
         Truncated(WithExtraCount(2, 0), 12 + 8 + 17),
         E_FAIL,
         {"mmioRead", "ReadMMIO"}},
        {"huge extra-size count", WithExtraCount(0xFFFF, 2), E_FAIL, {"mmioRead", "ReadMMIO"}},
        {"extra bytes beyond the fmt chunk",
         WithExtraCount(6, 2),
         E_FAIL,
         {"mmioRead", "ReadMMIO"}},
        {"no data chunk", RiffWave({Fmt()}), E_FAIL, {"mmioDescend", "ResetFile"}},
        {"data only outside the RIFF chunk",
         [] {
             Bytes file = RiffWave({Fmt()});
             Bytes data = Chunk("data", Ramp(10));
             file.insert(file.end(), data.begin(), data.end());
             return file;
         }(),
         E_FAIL,
         {"mmioDescend", "ResetFile"}},
    };
}

TEST(BadWaveFiles, EachIsRefusedWithItsResultAndTraces) {
    TempFolder folder;
    std::string path = folder.File("bad.wav");
    for (const BadFile& bad : BadFiles()) {
        SCOPED_TRACE(bad.name);
        WriteFileBytes(path, bad.file);
        WaveFile wave;
        TraceLog traces;
        EXPECT_EQ(wave.Open(path.c_str(), nullptr, WAVEFILE_READ), bad.result);
        EXPECT_EQ(traces.Messages(), bad.traces);
        EXPECT_EQ(wave.DataSize(), 0u);
        if (bad.traces.back() == "ReadMMIO") {
            EXPECT_EQ(wave.m_pwfx, nullptr);
        }
        // The same object opens a good file afterwards.
        WriteFileBytes(path, PcmWave(1, 8000, 8, Ramp(10)));
        EXPECT_EQ(wave.Open(path.c_str(), nullptr, WAVEFILE_READ), S_OK);
        EXPECT_EQ(wave.DataSize(), 10u);
    }
}

TEST(BadWaveFiles, NoFileAndNoResourceOfThatName) {
    WaveFile wave;
    TraceLog traces;
    EXPECT_EQ(wave.Open("no-such-sound.wav", nullptr, WAVEFILE_READ), E_FAIL);
    EXPECT_EQ(traces.Messages(), Messages{"FindResource"});
    EXPECT_EQ(wave.DataSize(), 0u);
}

// A data chunk that claims more than the file holds opens with its claimed size; reading
// delivers what is there and then fails instead of reading past the end.
TEST(BadWaveFiles, DataChunkLongerThanTheFile) {
    TempFolder folder;
    std::string path = folder.File("short.wav");
    Bytes data = Ramp(300);
    WriteFileBytes(path, RiffWave({Fmt(), ChunkDeclaring("data", 100000, data)}));
    WaveFile wave;
    ASSERT_EQ(wave.Open(path.c_str(), nullptr, WAVEFILE_READ), S_OK);
    EXPECT_EQ(wave.DataSize(), 100000u);

    Bytes piece(200);
    DWORD read = 0;
    ASSERT_EQ(wave.Read(piece.data(), 200, &read), S_OK);
    EXPECT_EQ(piece, Bytes(data.begin(), data.begin() + 200));
    TraceLog traces;
    Bytes rest(1000);
    EXPECT_EQ(wave.Read(rest.data(), 1000, &read), E_FAIL);
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(traces.Messages(), Messages{"mmioinfoIn.pchNext"});
}

// Every prefix of a file with all kinds of chunks either opens or fails with a code of the
// table; whatever opens reads without running past what is there.
TEST(BadWaveFiles, EveryTruncationIsHandled) {
    Bytes extensible = PcmFormatBody(WAVE_FORMAT_EXTENSIBLE, 2, 8000, 16);
    PutU16(extensible, 22);
    extensible.insert(extensible.end(), 22, 0x11);
    Bytes full = RiffWave({Chunk("LIST", Bytes(7, 'x')), Chunk("fmt ", extensible),
                           Chunk("fact", Bytes(4, 0)), Chunk("data", Ramp(301))});
    TempFolder folder;
    std::string path = folder.File("cut.wav");
    for (std::size_t size = 0; size <= full.size(); ++size) {
        SCOPED_TRACE(size);
        WriteFileBytes(path, Truncated(full, size));
        TraceLog traces;
        WaveFile wave;
        HRESULT opened = wave.Open(path.c_str(), nullptr, WAVEFILE_READ);
        if (opened != S_OK) {
            EXPECT_EQ(opened, E_FAIL);
            continue;
        }
        Bytes out(400);
        DWORD read = 0;
        HRESULT hr = wave.Read(out.data(), 400, &read);
        if (size == full.size()) {
            EXPECT_EQ(hr, S_OK);
            EXPECT_EQ(Bytes(out.begin(), out.begin() + read), Ramp(301));
        } else {
            EXPECT_TRUE(hr == S_OK || hr == E_FAIL);
        }
    }
}

} // namespace
