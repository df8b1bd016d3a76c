#include "mmio_test_support.h"

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using namespace mmio_test;

const FOURCC kWave = mmioFOURCC('W', 'A', 'V', 'E');
const FOURCC kFmt = mmioFOURCC('f', 'm', 't', ' ');
const FOURCC kData = mmioFOURCC('d', 'a', 't', 'a');
const FOURCC kFact = mmioFOURCC('f', 'a', 'c', 't');
const FOURCC kInfo = mmioFOURCC('I', 'N', 'F', 'O');
const FOURCC kComment = mmioFOURCC('I', 'C', 'M', 'T');
const FOURCC kJunk = mmioFOURCC('J', 'U', 'N', 'K');

// The sox tone with, between "fmt " and "data", an odd-sized JUNK chunk and a LIST/INFO chunk
// whose one comment is odd-sized too; both padded as RIFF requires.
Bytes ToneWithListAndOddChunks() {
    const Bytes tone = ReadAll(SamplePath("tone16.wav"));
    Bytes out(tone.begin(), tone.begin() + 36);
    Append(out, "JUNK");
    Append32(out, 3);
    Append(out, "abc");
    out.push_back(0);
    Append(out, "LIST");
    Append32(out, 4 + 8 + 5 + 1);
    Append(out, "INFO");
    Append(out, "ICMT");
    Append32(out, 5);
    Append(out, "odd!");
    out.push_back(0);
    out.push_back(0);
    out.insert(out.end(), tone.begin() + 36, tone.end());
    Store32(out, 4, static_cast<DWORD>(out.size() - 8));
    return out;
}

struct FileCase {
    const char* name;
    DWORD riffSize;
    DWORD fmtSize;
    DWORD dataOffset;
    DWORD dataSize;
    long fileSize;
};

void PrintTo(const FileCase& file, std::ostream* out) {
    *out << file.name;
}

class SoxFiles : public testing::TestWithParam<FileCase> {};

TEST_P(SoxFiles, ChunkWalkGivesTheSizesOffsetsAndPaddingInTheFile) {
    const FileCase& expected = GetParam();
    HMMIO file = OpenFile(SamplePath(expected.name), MMIO_ALLOCBUF | MMIO_READ);
    ASSERT_NE(file, nullptr);

    MMCKINFO riff{};
    ASSERT_EQ(mmioDescend(file, &riff, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(riff.ckid, FOURCC_RIFF);
    EXPECT_EQ(riff.fccType, kWave);
    EXPECT_EQ(riff.cksize, expected.riffSize);
    EXPECT_EQ(riff.dwDataOffset, 8u);
    EXPECT_EQ(mmioSeek(file, 0, SEEK_CUR), 12);

    MMCKINFO fmt{};
    fmt.ckid = kFmt;
    ASSERT_EQ(mmioDescend(file, &fmt, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(fmt.cksize, expected.fmtSize);
    EXPECT_EQ(fmt.dwDataOffset, 20u);
    PCMWAVEFORMAT pcm{};
    EXPECT_EQ(mmioRead(file, reinterpret_cast<HPSTR>(&pcm), sizeof pcm), 16);
    EXPECT_EQ(pcm.wf.nSamplesPerSec, 8000u);
    ASSERT_EQ(mmioAscend(file, &fmt, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioSeek(file, 0, SEEK_CUR), static_cast<LONG>(20 + expected.fmtSize));

    // From the first sub-chunk again, as a reader that rewinds to the data does.
    ASSERT_EQ(mmioSeek(file, riff.dwDataOffset + 4, SEEK_SET), 12);
    MMCKINFO data{};
    data.ckid = kData;
    ASSERT_EQ(mmioDescend(file, &data, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(data.dwDataOffset, expected.dataOffset);
    EXPECT_EQ(data.cksize, expected.dataSize);

    // Leaving the data chunk steps over its pad byte, which ends the file.
    ASSERT_EQ(mmioAscend(file, &data, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioSeek(file, 0, SEEK_CUR), expected.fileSize);
    EXPECT_EQ(mmioSeek(file, 0, SEEK_END), expected.fileSize);
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
}

INSTANTIATE_TEST_SUITE_P(Mmio, SoxFiles,
                         testing::Values(FileCase{"tone16.wav", 196, 16, 44, 160, 204},
                                         FileCase{"odd8.wav", 54, 16, 44, 17, 62},
                                         FileCase{"float32.wav", 210, 18, 58, 160, 218},
                                         FileCase{"adpcm.wav", 338, 50, 90, 256, 346}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             return name.substr(0, name.find('.'));
                         });

TEST(MmioChunks, SearchPassesOverOddChunksAndListsAndDescendsIntoThem) {
    Bytes bytes = ToneWithListAndOddChunks();
    HMMIO file = OpenMemory(bytes);
    ASSERT_NE(file, nullptr);
    MMCKINFO riff{};
    riff.fccType = kWave;
    ASSERT_EQ(mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR);

    MMCKINFO data{};
    data.ckid = kData;
    ASSERT_EQ(mmioDescend(file, &data, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(data.dwDataOffset, 44u + 12 + 26);
    EXPECT_EQ(data.cksize, 160u);
    char first[2];
    ASSERT_EQ(mmioRead(file, first, 2), 2);
    EXPECT_EQ(static_cast<std::uint8_t>(first[0]), 0x47);

    ASSERT_EQ(mmioSeek(file, 12, SEEK_SET), 12);
    MMCKINFO list{};
    list.fccType = kInfo;
    ASSERT_EQ(mmioDescend(file, &list, &riff, MMIO_FINDLIST), MMSYSERR_NOERROR);
    EXPECT_EQ(list.ckid, FOURCC_LIST);
    EXPECT_EQ(list.dwDataOffset, 36u + 12 + 8);
    EXPECT_EQ(list.cksize, 18u);

    MMCKINFO comment{};
    comment.ckid = kComment;
    ASSERT_EQ(mmioDescend(file, &comment, &list, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(comment.cksize, 5u);
    char text[5];
    ASSERT_EQ(mmioRead(file, text, 5), 5);
    EXPECT_STREQ(text, "odd!");
    ASSERT_EQ(mmioAscend(file, &comment, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioSeek(file, 0, SEEK_CUR), static_cast<LONG>(list.dwDataOffset + list.cksize));

    // Nothing more inside the list; the search does not run on into the data chunk.
    MMCKINFO more{};
    more.ckid = kData;
    EXPECT_EQ(mmioDescend(file, &more, &list, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);

    // A plain descent takes the very next chunk, whatever it is.
    ASSERT_EQ(mmioSeek(file, 12, SEEK_SET), 12);
    MMCKINFO next{};
    next.ckid = kData;
    ASSERT_EQ(mmioDescend(file, &next, &riff, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(next.ckid, kFmt);
    ASSERT_EQ(mmioAscend(file, &next, 0), MMSYSERR_NOERROR);
    ASSERT_EQ(mmioDescend(file, &next, &riff, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(next.ckid, kJunk);
    EXPECT_EQ(next.cksize, 3u);
    ASSERT_EQ(mmioAscend(file, &next, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioSeek(file, 0, SEEK_CUR), 48);
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
}

TEST(MmioChunks, SearchStopsAtTheParentsEndAndAtTheEndOfTheFile) {
    Bytes bytes = ReadAll(SamplePath("tone16.wav"));
    // A chunk after the RIFF chunk is outside it.
    Append(bytes, "fact");
    Append32(bytes, 4);
    Append32(bytes, 80);
    HMMIO file = OpenMemory(bytes);
    MMCKINFO riff{};
    ASSERT_EQ(mmioDescend(file, &riff, nullptr, 0), MMSYSERR_NOERROR);
    MMCKINFO fact{};
    fact.ckid = kFact;
    EXPECT_EQ(mmioDescend(file, &fact, &riff, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);

    ASSERT_EQ(mmioSeek(file, 0, SEEK_SET), 0);
    fact.ckid = kFact;
    ASSERT_EQ(mmioDescend(file, &fact, nullptr, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(fact.dwDataOffset, 212u);

    MMCKINFO missing{};
    missing.ckid = kJunk;
    ASSERT_EQ(mmioSeek(file, 0, SEEK_SET), 0);
    EXPECT_EQ(mmioDescend(file, &missing, nullptr, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    missing.fccType = kInfo;
    ASSERT_EQ(mmioSeek(file, 0, SEEK_SET), 0);
    EXPECT_EQ(mmioDescend(file, &missing, nullptr, MMIO_FINDLIST), MMIOERR_CHUNKNOTFOUND);
    mmioClose(file, 0);
}

TEST(MmioChunks, DamagedFilesReportErrorsInsteadOfReadingPastTheirEnd) {
    const Bytes tone = ReadAll(SamplePath("tone16.wav"));

    // The data chunk claims more than the file holds: found as declared, read as far as it goes.
    Bytes truncated(tone.begin(), tone.begin() + 60);
    HMMIO file = OpenMemory(truncated);
    MMCKINFO riff{};
    ASSERT_EQ(mmioDescend(file, &riff, nullptr, 0), MMSYSERR_NOERROR);
    MMCKINFO data{};
    data.ckid = kData;
    ASSERT_EQ(mmioDescend(file, &data, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(data.cksize, 160u);
    char samples[160];
    EXPECT_EQ(mmioRead(file, samples, sizeof samples), 16);
    EXPECT_EQ(mmioRead(file, samples, sizeof samples), 0);
    mmioClose(file, 0);

    // A header cut short, a form type cut short, a sub-chunk header cut short.
    for (std::size_t length : {4u, 10u, 40u}) {
        Bytes cut(tone.begin(), tone.begin() + length);
        HMMIO shortFile = OpenMemory(cut);
        MMCKINFO outer{};
        MMRESULT result = mmioDescend(shortFile, &outer, nullptr, 0);
        if (result == MMSYSERR_NOERROR) {
            MMCKINFO inner{};
            inner.ckid = kData;
            result = mmioDescend(shortFile, &inner, &outer, MMIO_FINDCHUNK);
        }
        EXPECT_EQ(result, MMIOERR_CHUNKNOTFOUND) << length << " bytes";
        mmioClose(shortFile, 0);
    }
    // A chunk whose size runs past 2 GiB.
    Bytes huge = tone;
    Store32(huge, 16, 0xFFFFFFF0u); // the "fmt " size
    file = OpenMemory(huge);
    ASSERT_EQ(mmioDescend(file, &riff, nullptr, 0), MMSYSERR_NOERROR);
    data.ckid = kData;
    EXPECT_EQ(mmioDescend(file, &data, nullptr, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    MMCKINFO fmt{};
    ASSERT_EQ(mmioSeek(file, 12, SEEK_SET), 12);
    ASSERT_EQ(mmioDescend(file, &fmt, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioAscend(file, &fmt, 0), MMIOERR_CANNOTSEEK);
    mmioClose(file, 0);
}

// The sox tone cut inside its data chunk, which still claims 160 bytes, opened as a memory file, as
// a disk file through a small buffer and as a disk file without one.
class ChunkPastTheEnd : public testing::TestWithParam<std::string> {
protected:
    HMMIO OpenTruncatedTone() {
        const Bytes tone = ReadAll(SamplePath("tone16.wav"));
        bytes.assign(tone.begin(), tone.begin() + 60);
        if (GetParam() == "Memory")
            return OpenMemory(bytes);
        path = ScratchPath(".wav");
        WriteAll(path, bytes);
        return OpenFile(path, GetParam() == "SmallBuffer" ? MMIO_ALLOCBUF | MMIO_READ : MMIO_READ,
                        16);
    }
    void TearDown() override { std::remove(path.c_str()); }

    Bytes bytes;
    std::string path;
};

// Every kind of file treats such a chunk alike: it is read as far as it goes and can be left, after
// which nothing more is found.
TEST_P(ChunkPastTheEnd, IsLeftAndThenNothingMoreIsFound) {
    HMMIO file = OpenTruncatedTone();
    ASSERT_NE(file, nullptr);
    MMCKINFO riff{};
    ASSERT_EQ(mmioDescend(file, &riff, nullptr, 0), MMSYSERR_NOERROR);
    MMCKINFO data{};
    data.ckid = kData;
    ASSERT_EQ(mmioDescend(file, &data, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    char samples[32];
    EXPECT_EQ(mmioRead(file, samples, sizeof samples), 16);

    EXPECT_EQ(mmioAscend(file, &data, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioRead(file, samples, sizeof samples), 0);
    MMCKINFO next{};
    EXPECT_EQ(mmioDescend(file, &next, nullptr, 0), MMIOERR_CHUNKNOTFOUND);
    ASSERT_EQ(mmioSeek(file, 44, SEEK_SET), 44); // the samples that are there read again
    EXPECT_EQ(mmioRead(file, samples, sizeof samples), 16);
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
}

INSTANTIATE_TEST_SUITE_P(Mmio, ChunkPastTheEnd,
                         testing::Values("Memory", "SmallBuffer", "Unbuffered"),
                         [](const auto& info) { return info.param; });

TEST(MmioChunks, CallsOnAClosedOrNullHandleFail) {
    Bytes bytes = ReadAll(SamplePath("tone16.wav"));
    HMMIO file = OpenMemory(bytes);
    ASSERT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
    MMCKINFO chunk{};
    EXPECT_EQ(mmioDescend(file, &chunk, nullptr, 0), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(mmioAscend(nullptr, &chunk, 0), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(mmioCreateChunk(file, &chunk, 0), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(mmioRead(file, reinterpret_cast<HPSTR>(&chunk), 4), -1);
    EXPECT_EQ(mmioSeek(nullptr, 0, SEEK_SET), -1);
}

} // namespace
