// The layout of written files and the life of a wave file opened for writing.

#include "sound/wave_file.h"
#include "wave_fixtures.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>

namespace {

using namespace wavetest;

Bytes Body(const Bytes& file, const ChunkView& chunk) {
    return Bytes(file.begin() + chunk.bodyOffset, file.begin() + chunk.bodyOffset + chunk.size);
}

void WriteWave(const std::string& path, const WAVEFORMATEX* format, const Bytes& samples) {
    WaveFile wave;
    ASSERT_EQ(wave.Open(path.c_str(), format, WAVEFILE_WRITE), S_OK);
    if (!samples.empty()) {
        UINT written = 0;
        ASSERT_EQ(wave.Write(static_cast<UINT>(samples.size()), samples.data(), &written), S_OK);
        ASSERT_EQ(written, samples.size());
    }
    ASSERT_EQ(wave.Close(), S_OK);
}

class WrittenWave : public testing::Test {
protected:
    TempFolder folder;
    std::string path = folder.File("out.wav");
};

TEST_F(WrittenWave, HasFmtFactAndDataChunksWithTheirSizes) {
    WAVEFORMATEX format = PcmFormat(2, 44100, 16);
    Bytes samples = Ramp(1000);
    WriteWave(path, &format, samples);

    Bytes file = ReadFileBytes(path);
    ASSERT_GE(file.size(), 12u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 12), "WAVE");
    EXPECT_EQ(GetU32(file, 4), file.size() - 8);
    EXPECT_EQ(file.size(), 12u + (8 + 16) + (8 + 4) + (8 + 1000));

    std::vector<ChunkView> chunks = SubChunks(file);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].id, "fmt ");
    EXPECT_EQ(chunks[0].size, 16u);
    EXPECT_EQ(Body(file, chunks[0]),
              Bytes(reinterpret_cast<BYTE*>(&format), reinterpret_cast<BYTE*>(&format) + 16));
    EXPECT_EQ(chunks[1].id, "fact");
    EXPECT_EQ(chunks[1].size, 4u);
    EXPECT_EQ(GetU32(file, chunks[1].bodyOffset), 0u); // the placeholder is replaced on close
    EXPECT_EQ(chunks[2].id, "data");
    EXPECT_EQ(chunks[2].size, 1000u);
    EXPECT_EQ(Body(file, chunks[2]), samples);
}

TEST_F(WrittenWave, OtherFormatsWriteTheirWholeRecord) {
    Bytes record(sizeof(WAVEFORMATEX) + 2);
    WAVEFORMATEX format = PcmFormat(1, 8000, 4);
    format.wFormatTag = WAVE_FORMAT_ADPCM;
    format.cbSize = 2;
    std::memcpy(record.data(), &format, sizeof format);
    record[18] = 0xF4;
    record[19] = 0x01;
    WriteWave(path, reinterpret_cast<WAVEFORMATEX*>(record.data()), Ramp(10));

    Bytes file = ReadFileBytes(path);
    std::vector<ChunkView> chunks = SubChunks(file);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].size, 20u);
    EXPECT_EQ(Body(file, chunks[0]), record);

    WaveFile back;
    ASSERT_EQ(back.Open(path.c_str(), nullptr, WAVEFILE_READ), S_OK);
    EXPECT_EQ(back.m_pwfx->cbSize, 2);
    EXPECT_EQ(std::memcmp(back.m_pwfx, record.data(), record.size()), 0);
}

TEST_F(WrittenWave, OddDataIsPaddedAndCountedInTheRiffSize) {
    WAVEFORMATEX format = PcmFormat(1, 8000, 8);
    WriteWave(path, &format, Ramp(7));
    Bytes file = ReadFileBytes(path);
    std::vector<ChunkView> chunks = SubChunks(file);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[2].size, 7u);
    EXPECT_EQ(file.size() % 2, 0u);
    EXPECT_EQ(GetU32(file, 4), file.size() - 8);
}

TEST_F(WrittenWave, NothingWrittenGivesAnEmptyDataChunk) {
    WAVEFORMATEX format = PcmFormat(1, 8000, 16);
    WriteWave(path, &format, {});
    WaveFile back;
    ASSERT_EQ(back.Open(path.c_str(), nullptr, WAVEFILE_READ), S_OK);
    EXPECT_EQ(back.DataSize(), 0u);
}

TEST_F(WrittenWave, ReadsBackWhatWasWrittenAcrossManyBufferRefills) {
    WAVEFORMATEX format = PcmFormat(2, 48000, 16);
    Bytes samples = Ramp(1 << 20);
    WriteWave(path, &format, samples);
    WaveFile back;
    ASSERT_EQ(back.Open(path.c_str(), nullptr, WAVEFILE_READ), S_OK);
    EXPECT_EQ(std::memcmp(back.m_pwfx, &format, 16), 0);
    Bytes read(samples.size());
    DWORD count = 0;
    ASSERT_EQ(back.Read(read.data(), static_cast<DWORD>(read.size()), &count), S_OK);
    EXPECT_EQ(count, samples.size());
    EXPECT_EQ(read, samples);
}

TEST_F(WrittenWave, DestructionFinishesAFileLeftOpen) {
    WAVEFORMATEX format = PcmFormat(1, 8000, 8);
    {
        WaveFile wave;
        ASSERT_EQ(wave.Open(path.c_str(), &format, WAVEFILE_WRITE), S_OK);
        UINT written = 0;
        ASSERT_EQ(wave.Write(5, Ramp(5).data(), &written), S_OK);
    }
    WaveFile back;
    ASSERT_EQ(back.Open(path.c_str(), nullptr, WAVEFILE_READ), S_OK);
    EXPECT_EQ(back.DataSize(), 5u);
}

TEST_F(WrittenWave, MisuseIsRefused) {
    WAVEFORMATEX format = PcmFormat(1, 8000, 8);
    WaveFile wave;
    EXPECT_EQ(wave.Open(path.c_str(), nullptr, WAVEFILE_WRITE), E_INVALIDARG); // no format
    ASSERT_EQ(wave.Open(path.c_str(), &format, WAVEFILE_WRITE), S_OK);
    BYTE byte = 1;
    UINT written = 7;
    EXPECT_EQ(wave.Write(1, nullptr, &written), E_INVALIDARG);
    EXPECT_EQ(wave.Write(1, &byte, nullptr), E_INVALIDARG);
    EXPECT_EQ(wave.Close(), S_OK);
    EXPECT_EQ(wave.Close(), CO_E_NOTINITIALIZED); // nothing left to finish
    EXPECT_EQ(wave.Write(1, &byte, &written), CO_E_NOTINITIALIZED);
}

TEST_F(WrittenWave, UnwritableFolderIsTraced) {
    WAVEFORMATEX format = PcmFormat(1, 8000, 8);
    WaveFile wave;
    TraceLog traces;
    std::string missing = folder.File("no-such-folder/out.wav");
    EXPECT_EQ(wave.Open(missing.c_str(), &format, WAVEFILE_WRITE), E_FAIL);
    EXPECT_EQ(traces.Messages(), std::vector<std::string>{"mmioOpen"});
}

TEST_F(WrittenWave, FullDiskIsTracedWhenTheBufferIsWritten) {
    if (access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "no full device here";
    }
    WAVEFORMATEX format = PcmFormat(1, 8000, 8);
    WaveFile wave;
    ASSERT_EQ(wave.Open("/dev/full", &format, WAVEFILE_WRITE), S_OK); // all still in the buffer
    Bytes samples = Ramp(1 << 20);
    UINT written = 0;
    TraceLog traces;
    EXPECT_EQ(wave.Write(static_cast<UINT>(samples.size()), samples.data(), &written), E_FAIL);
    EXPECT_LT(written, samples.size());
    EXPECT_EQ(traces.Messages(), std::vector<std::string>{"mmioAdvance"});
}

TEST_F(WrittenWave, FullDiskIsTracedWhenTheFileIsClosed) {
    if (access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "no full device here";
    }
    WAVEFORMATEX format = PcmFormat(1, 8000, 8);
    WaveFile wave;
    ASSERT_EQ(wave.Open("/dev/full", &format, WAVEFILE_WRITE), S_OK);
    Bytes samples = Ramp(100); // fits in the buffer, so only the close writes it out
    UINT written = 0;
    ASSERT_EQ(wave.Write(static_cast<UINT>(samples.size()), samples.data(), &written), S_OK);
    TraceLog traces;
    EXPECT_EQ(wave.Close(), E_FAIL);
    EXPECT_EQ(traces.Messages(), std::vector<std::string>{"mmioClose"});
    EXPECT_EQ(wave.Close(), CO_E_NOTINITIALIZED); // the handle is gone all the same
}

} // namespace
