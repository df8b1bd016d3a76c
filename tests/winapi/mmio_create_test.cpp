#include "mmio_test_support.h"

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace mmio_test;

const FOURCC kWave = mmioFOURCC('W', 'A', 'V', 'E');

// Appends bytes through the direct I/O buffer, a byte at a time, as the wave writer does.
void WriteDirect(HMMIO file, MMIOINFO& info, const Bytes& bytes) {
    for (std::uint8_t byte : bytes) {
        if (info.pchNext == info.pchEndWrite) {
            info.dwFlags |= MMIO_DIRTY;
            ASSERT_EQ(mmioAdvance(file, &info, MMIO_WRITE), MMSYSERR_NOERROR);
        }
        *info.pchNext++ = static_cast<char>(byte);
    }
}

class WaveWriting : public testing::TestWithParam<LONG> {};

// The steps of writing a wave file: RIFF, "fmt ", "fact" and an odd-sized "data" chunk, sizes fixed
// on the way out, and the "fact" value rewritten after a second walk through the file.
TEST_P(WaveWriting, CreatedChunksGetTheirSizesAndPaddingFixedOnAscent) {
    const std::string path = ScratchPath(".wav");
    HMMIO file = OpenFile(path, MMIO_ALLOCBUF | MMIO_READWRITE | MMIO_CREATE, GetParam());
    ASSERT_NE(file, nullptr);

    MMCKINFO riff{};
    riff.fccType = kWave;
    ASSERT_EQ(mmioCreateChunk(file, &riff, MMIO_CREATERIFF), MMSYSERR_NOERROR);
    EXPECT_EQ(riff.dwDataOffset, 8u);
    MMCKINFO fmt{};
    fmt.ckid = mmioFOURCC('f', 'm', 't', ' ');
    fmt.cksize = 16;
    ASSERT_EQ(mmioCreateChunk(file, &fmt, 0), MMSYSERR_NOERROR);
    const PCMWAVEFORMAT pcm{{WAVE_FORMAT_PCM, 1, 8000, 8000, 1}, 8};
    ASSERT_EQ(mmioWrite(file, reinterpret_cast<const char*>(&pcm), sizeof pcm), 16);
    ASSERT_EQ(mmioAscend(file, &fmt, 0), MMSYSERR_NOERROR);
    MMCKINFO fact{};
    fact.ckid = mmioFOURCC('f', 'a', 'c', 't');
    ASSERT_EQ(mmioCreateChunk(file, &fact, 0), MMSYSERR_NOERROR);
    const DWORD unknown = 0xFFFFFFFF;
    ASSERT_EQ(mmioWrite(file, reinterpret_cast<const char*>(&unknown), 4), 4);
    ASSERT_EQ(mmioAscend(file, &fact, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(fact.cksize, 4u);

    MMCKINFO data{};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    ASSERT_EQ(mmioCreateChunk(file, &data, 0), MMSYSERR_NOERROR);
    MMIOINFO info{};
    ASSERT_EQ(mmioGetInfo(file, &info, 0), MMSYSERR_NOERROR);
    const Bytes samples = {0x80, 0x90, 0xA0, 0xB0, 0xC0};
    WriteDirect(file, info, samples);
    info.dwFlags |= MMIO_DIRTY;
    ASSERT_EQ(mmioSetInfo(file, &info, 0), MMSYSERR_NOERROR);
    ASSERT_EQ(mmioAscend(file, &data, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(data.cksize, 5u);
    ASSERT_EQ(mmioAscend(file, &riff, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(riff.cksize, 54u);

    ASSERT_EQ(mmioSeek(file, 0, SEEK_SET), 0);
    ASSERT_EQ(mmioDescend(file, &riff, nullptr, 0), MMSYSERR_NOERROR);
    MMCKINFO found{};
    found.ckid = fact.ckid;
    ASSERT_EQ(mmioDescend(file, &found, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    const DWORD zero = 0;
    ASSERT_EQ(mmioWrite(file, reinterpret_cast<const char*>(&zero), 4), 4);
    ASSERT_EQ(mmioAscend(file, &found, 0), MMSYSERR_NOERROR);
    ASSERT_EQ(mmioAscend(file, &riff, 0), MMSYSERR_NOERROR);
    ASSERT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);

    Bytes expected;
    Append(expected, "RIFF");
    Append32(expected, 54);
    Append(expected, "WAVEfmt ");
    Append32(expected, 16);
    const auto* record = reinterpret_cast<const std::uint8_t*>(&pcm);
    expected.insert(expected.end(), record, record + 16);
    Append(expected, "fact");
    Append32(expected, 4);
    Append32(expected, 0);
    Append(expected, "data");
    Append32(expected, 5);
    expected.insert(expected.end(), samples.begin(), samples.end());
    expected.push_back(0);
    EXPECT_EQ(ReadAll(path), expected);
    std::remove(path.c_str());
}

// 0 asks for the default buffer; 7 makes every step cross buffer boundaries.
INSTANTIATE_TEST_SUITE_P(Mmio, WaveWriting, testing::Values(0, 7));

TEST(MmioCreate, ListChunksNestAndOddContentIsPaddedInAGrowingMemoryFile) {
    MMIOINFO setup{};
    setup.fccIOProc = FOURCC_MEM;
    setup.adwInfo[0] = 16; // grow by 16 bytes at a time
    HMMIO file = mmioOpenA(nullptr, &setup, MMIO_READWRITE);
    ASSERT_NE(file, nullptr);
    MMCKINFO list{};
    list.fccType = mmioFOURCC('I', 'N', 'F', 'O');
    list.cksize = 999; // wrong on purpose: the ascent corrects it
    ASSERT_EQ(mmioCreateChunk(file, &list, MMIO_CREATELIST), MMSYSERR_NOERROR);
    EXPECT_EQ(list.ckid, FOURCC_LIST);
    MMCKINFO comment{};
    comment.ckid = mmioFOURCC('I', 'C', 'M', 'T');
    ASSERT_EQ(mmioCreateChunk(file, &comment, 0), MMSYSERR_NOERROR);
    ASSERT_EQ(mmioWrite(file, "hey", 3), 3);
    ASSERT_EQ(mmioAscend(file, &comment, 0), MMSYSERR_NOERROR);
    ASSERT_EQ(mmioAscend(file, &list, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioSeek(file, 0, SEEK_CUR), 24);

    MMIOINFO info{};
    ASSERT_EQ(mmioGetInfo(file, &info, 0), MMSYSERR_NOERROR);
    ASSERT_GE(info.cchBuffer, 24);
    Bytes expected;
    Append(expected, "LIST");
    Append32(expected, 16);
    Append(expected, "INFOICMT");
    Append32(expected, 3);
    Append(expected, "hey");
    expected.push_back(0);
    EXPECT_EQ(Bytes(info.pchBuffer, info.pchBuffer + 24), expected);

    // Read back as a reader would.
    ASSERT_EQ(mmioSeek(file, 0, SEEK_SET), 0);
    MMCKINFO again{};
    again.fccType = list.fccType;
    ASSERT_EQ(mmioDescend(file, &again, nullptr, MMIO_FINDLIST), MMSYSERR_NOERROR);
    EXPECT_EQ(again.cksize, 16u);
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
}

TEST(MmioCreate, ChunksCannotBeCreatedInAReadOnlyFileOrAFullMemoryFile) {
    Bytes tone = ReadAll(SamplePath("tone16.wav"));
    HMMIO file = OpenFile(SamplePath("tone16.wav"), MMIO_ALLOCBUF | MMIO_READ);
    MMCKINFO chunk{};
    EXPECT_EQ(mmioCreateChunk(file, &chunk, MMIO_CREATERIFF), MMIOERR_CANNOTWRITE);
    mmioClose(file, 0);
    EXPECT_EQ(ReadAll(SamplePath("tone16.wav")), tone);

    Bytes room(10);
    HMMIO memory = OpenMemory(room, MMIO_READWRITE);
    ASSERT_EQ(mmioCreateChunk(memory, &chunk, MMIO_CREATERIFF), MMIOERR_CANNOTWRITE);
    mmioClose(memory, 0);
}

TEST(MmioCreate, WritesSeeksAndReadsOnOneFileAgreeAcrossBufferRefills) {
    const std::string path = ScratchPath(".bin");
    HMMIO file = OpenFile(path, MMIO_ALLOCBUF | MMIO_READWRITE | MMIO_CREATE, 64);
    ASSERT_NE(file, nullptr);
    Bytes content(1000);
    for (std::size_t index = 0; index < content.size(); ++index)
        content[index] = static_cast<std::uint8_t>(index * 7);
    ASSERT_EQ(mmioWrite(file, reinterpret_cast<const char*>(content.data()), 1000), 1000);

    // Overwrite a stretch that spans several buffers, and one byte inside the current buffer.
    ASSERT_EQ(mmioSeek(file, 100, SEEK_SET), 100);
    const Bytes patch(150, 0xEE);
    ASSERT_EQ(mmioWrite(file, reinterpret_cast<const char*>(patch.data()), 150), 150);
    std::fill(content.begin() + 100, content.begin() + 250, 0xEE);
    ASSERT_EQ(mmioSeek(file, -10, SEEK_CUR), 240);
    ASSERT_EQ(mmioWrite(file, "\x01", 1), 1);
    content[240] = 0x01;
    EXPECT_EQ(mmioSeek(file, 0, SEEK_END), 1000);

    ASSERT_EQ(mmioSeek(file, 0, SEEK_SET), 0);
    Bytes readBack(1000);
    ASSERT_EQ(mmioRead(file, reinterpret_cast<HPSTR>(readBack.data()), 1000), 1000);
    EXPECT_EQ(readBack, content);
    ASSERT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(ReadAll(path), content);
    std::remove(path.c_str());
}

} // namespace
