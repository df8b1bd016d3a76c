// Reading sample data from files and memory: positions, ends, rewinding and format records.

#include "sound/wave_file.h"
#include "wave_fixtures.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace wavetest;

Bytes ReadExactly(WaveFile& wave, DWORD wanted, HRESULT expected = S_OK) {
    Bytes out(wanted + 8, 0xEE);
    DWORD read = 12345;
    EXPECT_EQ(wave.Read(out.data(), wanted, &read), expected);
    EXPECT_EQ(out[wanted], 0xEE) << "wrote past the bytes asked for";
    out.resize(read);
    return out;
}

Bytes Slice(const Bytes& from, std::size_t at, std::size_t size) {
    return Bytes(from.begin() + at, from.begin() + at + size);
}

class WaveOnDisk : public testing::Test {
protected:
    std::string Save(const Bytes& file) {
        std::string path = folder.File("sound.wav");
        WriteFileBytes(path, file);
        return path;
    }
    TempFolder folder;
};

TEST_F(WaveOnDisk, ReadsUpToTheEndOfDataThenNothingUntilRewound) {
    Bytes data = Ramp(1000);
    std::string path = Save(PcmWave(1, 8000, 8, data));
    WaveFile wave;
    ASSERT_EQ(wave.Open(path.c_str(), nullptr, WAVEFILE_READ), S_OK);
    EXPECT_EQ(wave.DataSize(), 1000u);

    EXPECT_EQ(ReadExactly(wave, 600), Slice(data, 0, 600));
    EXPECT_EQ(ReadExactly(wave, 600), Slice(data, 600, 400)); // only the rest
    EXPECT_EQ(ReadExactly(wave, 600).size(), 0u);             // at the end: 0 bytes, S_OK
    ASSERT_EQ(wave.ResetFile(), S_OK);
    EXPECT_EQ(ReadExactly(wave, 5000), data);
    EXPECT_EQ(wave.DataSize(), 1000u); // the size does not count down
}

// Reads of 64 KiB or more pass the multimedia layer's buffer; whatever mix of sizes a caller uses,
// the bytes come in order and stop at the end of the data chunk, not of the file.
TEST_F(WaveOnDisk, LargeReadsBetweenSmallOnesKeepTheOrderAndStopAtTheEndOfData) {
    const Bytes data = Ramp(200001);
    std::string path = Save(RiffWave({Chunk("fmt ", PcmFormatBody(WAVE_FORMAT_PCM, 1, 8000, 8)),
                                      Chunk("data", data), Chunk("LIST", Bytes(300, 0x55))}));
    WaveFile wave;
    ASSERT_EQ(wave.Open(path.c_str(), nullptr, WAVEFILE_READ), S_OK);
    Bytes all;
    for (DWORD wanted : {100u, 70000u, 3u, 65536u, 200000u}) {
        const Bytes piece = ReadExactly(wave, wanted);
        all.insert(all.end(), piece.begin(), piece.end());
    }
    EXPECT_EQ(all, data);
    EXPECT_EQ(ReadExactly(wave, 70000).size(), 0u);
    ASSERT_EQ(wave.ResetFile(), S_OK);
    EXPECT_EQ(ReadExactly(wave, 300000), data);
}

TEST_F(WaveOnDisk, PcmFormatChunkLongerThan16GivesAPlainRecord) {
    Bytes body = PcmFormatBody(WAVE_FORMAT_PCM, 2, 22050, 16);
    PutU16(body, 0);      // an extra-size count some writers add
    PutU32(body, 0xABCD); // and trailing bytes, skipped
    Bytes data = Ramp(64);
    std::string path = Save(RiffWave({Chunk("fmt ", body), Chunk("data", data)}));
    WaveFile wave;
    ASSERT_EQ(wave.Open(path.c_str(), nullptr, WAVEFILE_READ), S_OK);
    EXPECT_EQ(wave.m_pwfx->wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(wave.m_pwfx->nChannels, 2);
    EXPECT_EQ(wave.m_pwfx->nSamplesPerSec, 22050u);
    EXPECT_EQ(wave.m_pwfx->nAvgBytesPerSec, 88200u);
    EXPECT_EQ(wave.m_pwfx->nBlockAlign, 4);
    EXPECT_EQ(wave.m_pwfx->wBitsPerSample, 16);
    EXPECT_EQ(wave.m_pwfx->cbSize, 0);
    EXPECT_EQ(ReadExactly(wave, 100), data);
}

TEST_F(WaveOnDisk, OtherFormatsKeepTheirExtraBytes) {
    Bytes body = PcmFormatBody(WAVE_FORMAT_ADPCM, 1, 11025, 4);
    PutU16(body, 4);
    body.insert(body.end(), {0xDE, 0xAD, 0xBE, 0xEF});
    std::string path = Save(RiffWave({Chunk("fmt ", body), Chunk("data", Ramp(10))}));
    WaveFile wave;
    ASSERT_EQ(wave.Open(path.c_str(), nullptr, WAVEFILE_READ), S_OK);
    ASSERT_EQ(wave.m_pwfx->cbSize, 4);
    const BYTE* extra = reinterpret_cast<const BYTE*>(wave.m_pwfx) + sizeof(WAVEFORMATEX);
    EXPECT_EQ(Bytes(extra, extra + 4), (Bytes{0xDE, 0xAD, 0xBE, 0xEF}));
    EXPECT_EQ(wave.m_pwfx->wFormatTag, WAVE_FORMAT_ADPCM);
}

// A non-PCM chunk of only 16 bytes carries no count; the bytes after it belong to the next
// chunk and must not be taken for format bytes.
TEST_F(WaveOnDisk, OtherFormatWithoutCountHasNoExtraBytes) {
    Bytes data = Ramp(40);
    Bytes file = RiffWave(
        {Chunk("fmt ", PcmFormatBody(WAVE_FORMAT_IEEE_FLOAT, 1, 8000, 32)), Chunk("data", data)});
    WaveFile wave;
    ASSERT_EQ(wave.Open(Save(file).c_str(), nullptr, WAVEFILE_READ), S_OK);
    EXPECT_EQ(wave.m_pwfx->wFormatTag, WAVE_FORMAT_IEEE_FLOAT);
    EXPECT_EQ(wave.m_pwfx->cbSize, 0);
    EXPECT_EQ(ReadExactly(wave, 40), data);
}

TEST_F(WaveOnDisk, EmptyDataChunkOpensWithSizeZero) {
    WaveFile wave;
    ASSERT_EQ(wave.Open(Save(PcmWave(1, 8000, 16, {})).c_str(), nullptr, WAVEFILE_READ), S_OK);
    EXPECT_EQ(wave.DataSize(), 0u);
    EXPECT_EQ(ReadExactly(wave, 10).size(), 0u);
}

TEST_F(WaveOnDisk, ReopeningReadsTheNewFile) {
    std::string first = folder.File("first.wav");
    std::string second = folder.File("second.wav");
    WriteFileBytes(first, PcmWave(1, 8000, 8, Ramp(10)));
    WriteFileBytes(second, PcmWave(2, 44100, 16, Bytes(20, 7)));
    WaveFile wave;
    ASSERT_EQ(wave.Open(first.c_str(), nullptr, WAVEFILE_READ), S_OK);
    ASSERT_EQ(wave.Open(second.c_str(), nullptr, WAVEFILE_READ), S_OK);
    EXPECT_EQ(wave.m_pwfx->nChannels, 2);
    EXPECT_EQ(wave.DataSize(), 20u);
    EXPECT_EQ(ReadExactly(wave, 100), Bytes(20, 7));

    // A failed open leaves no size behind that would pass for a readable wave.
    EXPECT_EQ(wave.Open(folder.File("missing.wav").c_str(), nullptr, WAVEFILE_READ), E_FAIL);
    EXPECT_EQ(wave.DataSize(), 0u);
}

TEST(WaveArguments, CallsOnAClosedOrMisusedWaveAreRefused) {
    WaveFile wave;
    BYTE byte = 0;
    DWORD read = 0;
    UINT written = 0;
    EXPECT_EQ(wave.Open(nullptr, nullptr, WAVEFILE_READ), E_INVALIDARG);
    EXPECT_EQ(wave.ResetFile(), CO_E_NOTINITIALIZED);
    EXPECT_EQ(wave.Read(&byte, 1, &read), CO_E_NOTINITIALIZED);
    EXPECT_EQ(wave.Write(1, &byte, &written), CO_E_NOTINITIALIZED);
    EXPECT_EQ(wave.DataSize(), 0u);
    EXPECT_EQ(wave.m_pwfx, nullptr);

    TempFolder folder;
    std::string path = folder.File("a.wav");
    WriteFileBytes(path, PcmWave(1, 8000, 8, Ramp(4)));
    ASSERT_EQ(wave.Open(path.c_str(), nullptr, WAVEFILE_READ), S_OK);
    EXPECT_EQ(wave.Read(nullptr, 1, &read), E_INVALIDARG);
    EXPECT_EQ(wave.Read(&byte, 1, nullptr), E_INVALIDARG);
    EXPECT_EQ(wave.Write(1, &byte, &written), E_NOTIMPL); // opened for reading
    EXPECT_EQ(wave.Close(), S_OK);
    EXPECT_EQ(wave.Read(&byte, 1, &read), CO_E_NOTINITIALIZED);
}

TEST(WaveInMemory, ReadsTheCallersBlockAndRewindsToItsStart) {
    Bytes block = Ramp(100);
    WAVEFORMATEX format = PcmFormat(1, 8000, 8);
    WaveFile wave;
    ASSERT_EQ(wave.OpenMemory(block.data(), 100, &format, WAVEFILE_READ), S_OK);
    EXPECT_EQ(wave.m_pwfx, &format); // the caller's record, not a copy
    EXPECT_EQ(wave.DataSize(), 0u);

    EXPECT_EQ(ReadExactly(wave, 60), Slice(block, 0, 60));
    EXPECT_EQ(ReadExactly(wave, 60), Slice(block, 60, 40));
    EXPECT_EQ(ReadExactly(wave, 60).size(), 0u);
    ASSERT_EQ(wave.ResetFile(), S_OK);
    BYTE first[3];
    EXPECT_EQ(wave.Read(first, 3, nullptr), S_OK); // the count is optional here
    EXPECT_EQ(Bytes(first, first + 3), Slice(block, 0, 3));

    UINT written = 0;
    EXPECT_EQ(wave.Write(1, first, &written), E_NOTIMPL);
    EXPECT_EQ(wave.Read(nullptr, 10, nullptr), E_INVALIDARG);
}

TEST(WaveInMemory, OnlyReadingIsSupportedButTheBlockIsTakenAnyway) {
    Bytes block = Ramp(8);
    WAVEFORMATEX format = PcmFormat(1, 8000, 8);
    WaveFile wave;
    EXPECT_EQ(wave.OpenMemory(block.data(), 8, &format, WAVEFILE_WRITE), E_NOTIMPL);
    EXPECT_EQ(ReadExactly(wave, 8), block);
}

TEST(WaveInMemory, NoBlockMeansNotInitialised) {
    WaveFile wave;
    ASSERT_EQ(wave.OpenMemory(nullptr, 0, nullptr, WAVEFILE_READ), S_OK);
    BYTE byte = 0;
    EXPECT_EQ(wave.Read(&byte, 1, nullptr), CO_E_NOTINITIALIZED);
}

} // namespace
