#include "mmio_test_support.h"

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace mmio_test;

// Reads every byte through the direct I/O buffer, refilling it when it runs dry.
Bytes ReadDirect(HMMIO file) {
    Bytes bytes;
    MMIOINFO info{};
    EXPECT_EQ(mmioGetInfo(file, &info, 0), MMSYSERR_NOERROR);
    for (;;) {
        if (info.pchNext == info.pchEndRead) {
            EXPECT_EQ(mmioAdvance(file, &info, MMIO_READ), MMSYSERR_NOERROR);
            if (info.pchNext == info.pchEndRead)
                break;
        }
        bytes.push_back(static_cast<std::uint8_t>(*info.pchNext++));
    }
    EXPECT_EQ(mmioSetInfo(file, &info, 0), MMSYSERR_NOERROR);
    return bytes;
}

TEST(MmioOpen, FailuresNameTheirReason) {
    MMIOINFO info{};
    char missing[] = "no such file.wav";
    EXPECT_EQ(mmioOpenA(missing, &info, MMIO_READ), nullptr);
    EXPECT_EQ(info.wErrorRet, MMIOERR_FILENOTFOUND);
    char missingFolder[] = "no such folder\\x.wav";
    EXPECT_EQ(mmioOpenA(missingFolder, &info, MMIO_READWRITE | MMIO_CREATE), nullptr);
    EXPECT_EQ(info.wErrorRet, MMIOERR_PATHNOTFOUND);
    char folder[] = ".";
    EXPECT_EQ(mmioOpenA(folder, &info, MMIO_READ), nullptr);
    EXPECT_EQ(info.wErrorRet, MMIOERR_ACCESSDENIED);
    info.fccIOProc = mmioFOURCC('Z', 'I', 'P', ' ');
    EXPECT_EQ(mmioOpenA(folder, &info, MMIO_READ), nullptr);
    EXPECT_NE(info.wErrorRet, MMSYSERR_NOERROR);
}

TEST(MmioOpen, ExistAndDeleteAnswerInsteadOfOpening) {
    const std::string path = ScratchPath(".tmp");
    WriteAll(path, {1, 2, 3});
    std::string name = path;
    EXPECT_NE(mmioOpenA(name.data(), nullptr, MMIO_EXIST), nullptr);
    EXPECT_NE(mmioOpenA(name.data(), nullptr, MMIO_DELETE), nullptr);
    EXPECT_EQ(mmioOpenA(name.data(), nullptr, MMIO_EXIST), nullptr);
    EXPECT_EQ(mmioOpenA(name.data(), nullptr, MMIO_DELETE), nullptr);
}

class DirectReading : public testing::TestWithParam<LONG> {};

TEST_P(DirectReading, DeliversTheWholeFileAndThenAnEmptyBuffer) {
    const std::string path = SamplePath("adpcm.wav");
    HMMIO file = OpenFile(path, MMIO_ALLOCBUF | MMIO_READ, GetParam());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadDirect(file), ReadAll(path));
    // Plain reads after direct access continue from where it stopped: the end.
    char rest[4];
    EXPECT_EQ(mmioRead(file, rest, 4), 0);
    ASSERT_EQ(mmioSeek(file, 300, SEEK_SET), 300);
    EXPECT_EQ(ReadDirect(file).size(), 46u);
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
}

// The default buffer holds the file; 7 bytes needs many refills; 1 byte is the smallest.
INSTANTIATE_TEST_SUITE_P(Mmio, DirectReading, testing::Values(0, 7, 1));

TEST(MmioFile, SeeksReportTheNewPositionAndRefuseToGoBeforeTheStart) {
    HMMIO file = OpenFile(SamplePath("tone16.wav"), MMIO_ALLOCBUF | MMIO_READ, 16);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(mmioSeek(file, 0, SEEK_END), 204);
    EXPECT_EQ(mmioSeek(file, -4, SEEK_CUR), 200);
    char last[8];
    EXPECT_EQ(mmioRead(file, last, 8), 4);
    EXPECT_EQ(mmioSeek(file, -1, SEEK_SET), -1);
    EXPECT_EQ(mmioSeek(file, 0, SEEK_CUR), 204);
    EXPECT_EQ(mmioSeek(file, 7, 99), -1);
    EXPECT_EQ(mmioSeek(file, 4, SEEK_SET), 4);
    DWORD size = 0;
    EXPECT_EQ(mmioRead(file, reinterpret_cast<HPSTR>(&size), 4), 4);
    EXPECT_EQ(size, 196u);
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
}

TEST(MmioFile, AccessModesAreEnforced) {
    HMMIO file = OpenFile(SamplePath("tone16.wav"), MMIO_ALLOCBUF | MMIO_READ);
    EXPECT_EQ(mmioWrite(file, "x", 1), -1);
    MMIOINFO info{};
    ASSERT_EQ(mmioGetInfo(file, &info, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioAdvance(file, &info, MMIO_WRITE), MMIOERR_CANNOTWRITE);
    mmioClose(file, 0);

    const std::string path = ScratchPath(".bin");
    file = OpenFile(path, MMIO_ALLOCBUF | MMIO_WRITE | MMIO_CREATE);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(mmioWrite(file, "abc", 3), 3);
    char byte;
    EXPECT_EQ(mmioRead(file, &byte, 1), -1);
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(ReadAll(path), (Bytes{'a', 'b', 'c'}));
    std::remove(path.c_str());
}

TEST(MmioFile, UnbufferedFilesWorkButHaveNoDirectBuffer) {
    HMMIO file = OpenFile(SamplePath("tone16.wav"), MMIO_READ);
    ASSERT_NE(file, nullptr);
    MMIOINFO info{};
    ASSERT_EQ(mmioGetInfo(file, &info, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(info.pchBuffer, nullptr);
    EXPECT_EQ(mmioAdvance(file, &info, MMIO_READ), MMIOERR_UNBUFFERED);
    MMCKINFO riff{};
    ASSERT_EQ(mmioDescend(file, &riff, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(riff.cksize, 196u);
    // A buffer can be given later; the position carries over.
    ASSERT_EQ(mmioSetBuffer(file, nullptr, 32, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioSeek(file, 0, SEEK_CUR), 12);
    char id[4];
    ASSERT_EQ(mmioRead(file, id, 4), 4);
    EXPECT_EQ(std::memcmp(id, "fmt ", 4), 0);
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
}

TEST(MmioMemory, ACallersBufferIsTheWholeFileAndDoesNotGrow) {
    Bytes bytes = {'a', 'b', 'c', 'd', 'e', 'f'};
    HMMIO file = OpenMemory(bytes, MMIO_READWRITE);
    ASSERT_NE(file, nullptr);
    MMIOINFO info{};
    ASSERT_EQ(mmioGetInfo(file, &info, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(info.pchBuffer, reinterpret_cast<HPSTR>(bytes.data()));
    EXPECT_EQ(info.pchEndRead - info.pchBuffer, 6);

    char read[10];
    EXPECT_EQ(mmioRead(file, read, 10), 6);
    EXPECT_EQ(mmioRead(file, read, 10), 0);
    ASSERT_EQ(mmioGetInfo(file, &info, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioAdvance(file, &info, MMIO_READ), MMSYSERR_NOERROR);
    EXPECT_EQ(info.pchNext, info.pchEndRead);
    EXPECT_EQ(mmioAdvance(file, &info, MMIO_WRITE), MMIOERR_CANNOTEXPAND);

    EXPECT_EQ(mmioSeek(file, 7, SEEK_SET), -1);
    EXPECT_EQ(mmioSeek(file, 4, SEEK_SET), 4);
    EXPECT_EQ(mmioWrite(file, "XYZ", 3), 2);
    EXPECT_EQ(mmioWrite(file, "XYZ", 3), -1);
    EXPECT_EQ(bytes, (Bytes{'a', 'b', 'c', 'd', 'X', 'Y'}));
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
}

TEST(MmioMemory, DirectAccessStateComingBackIsChecked) {
    Bytes bytes(8);
    HMMIO file = OpenMemory(bytes, MMIO_READWRITE);
    MMIOINFO info{};
    ASSERT_EQ(mmioGetInfo(file, &info, 0), MMSYSERR_NOERROR);
    MMIOINFO wrong = info;
    wrong.pchNext = info.pchEndWrite + 1;
    EXPECT_EQ(mmioSetInfo(file, &wrong, 0), MMSYSERR_INVALPARAM);
    char elsewhere[8];
    wrong = info;
    wrong.pchBuffer = wrong.pchNext = elsewhere;
    EXPECT_EQ(mmioAdvance(file, &wrong, MMIO_READ), MMSYSERR_INVALPARAM);
    info.pchNext += 3;
    ASSERT_EQ(mmioSetInfo(file, &info, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioSeek(file, 0, SEEK_CUR), 3);
    mmioClose(file, 0);
}

// An I/O procedure of the caller's over a string, to check the messages it receives.
struct StringFile {
    std::string content;
    int opens = 0;
    int closes = 0;
    std::vector<LPARAM> reads; // the byte count of each MMIOM_READ
};

LRESULT CALLBACK StringProcedure(LPSTR infoBytes, UINT message, LPARAM first, LPARAM second) {
    auto& info = *reinterpret_cast<MMIOINFO*>(infoBytes);
    auto& file = *reinterpret_cast<StringFile*>(static_cast<UINT_PTR>(info.adwInfo[1]) |
                                                static_cast<UINT_PTR>(info.adwInfo[2]) << 32);
    switch (message) {
    case MMIOM_OPEN:
        ++file.opens;
        info.lDiskOffset = 0;
        return MMSYSERR_NOERROR;
    case MMIOM_CLOSE:
        ++file.closes;
        return MMSYSERR_NOERROR;
    case MMIOM_READ: {
        file.reads.push_back(second);
        const auto count = std::min<LPARAM>(second, file.content.size() - info.lDiskOffset);
        std::memcpy(reinterpret_cast<char*>(first), file.content.data() + info.lDiskOffset, count);
        info.lDiskOffset += static_cast<LONG>(count);
        return count;
    }
    case MMIOM_WRITE:
    case MMIOM_WRITEFLUSH:
        file.content.resize(std::max<std::size_t>(file.content.size(), info.lDiskOffset + second));
        std::memcpy(file.content.data() + info.lDiskOffset, reinterpret_cast<char*>(first), second);
        info.lDiskOffset += static_cast<LONG>(second);
        return second;
    case MMIOM_SEEK:
        info.lDiskOffset = static_cast<LONG>(first + (second == SEEK_END   ? file.content.size()
                                                      : second == SEEK_CUR ? info.lDiskOffset
                                                                           : 0));
        return info.lDiskOffset;
    default:
        return 0;
    }
}

// Opens `backing` through StringProcedure with a buffer of `bufferSize` bytes.
HMMIO OpenString(StringFile& backing, LONG bufferSize, DWORD access = MMIO_READWRITE) {
    MMIOINFO setup{};
    setup.pIOProc = StringProcedure;
    const auto address = reinterpret_cast<UINT_PTR>(&backing);
    setup.adwInfo[1] = static_cast<DWORD>(address);
    setup.adwInfo[2] = static_cast<DWORD>(static_cast<std::uint64_t>(address) >> 32);
    setup.cchBuffer = bufferSize;
    return mmioOpenA(nullptr, &setup, access | MMIO_ALLOCBUF);
}

TEST(MmioProcedure, ACallersProcedureCarriesTheFile) {
    StringFile backing;
    backing.content = "0123456789";
    HMMIO file = OpenString(backing, 4);
    ASSERT_NE(file, nullptr);
    char read[6] = {};
    EXPECT_EQ(mmioRead(file, read, 5), 5);
    EXPECT_STREQ(read, "01234");
    EXPECT_EQ(mmioWrite(file, "abcdefg", 7), 7);
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(backing.content, "01234abcdefg");
    EXPECT_EQ(backing.opens, 1);
    EXPECT_EQ(backing.closes, 1);
}

// A read of the buffer's length or more takes what the buffer holds and reads the rest in one
// request straight into the caller's memory; smaller reads still go through the buffer.
TEST(MmioLargeRead, ReadsPastTheBufferInOneRequestAndLeavesItEmptyBehind) {
    StringFile backing;
    for (char c = 'a'; c <= 'z'; ++c)
        backing.content += c;
    HMMIO file = OpenString(backing, 8, MMIO_READ);
    ASSERT_NE(file, nullptr);
    char read[32] = {};
    EXPECT_EQ(mmioRead(file, read, 3), 3);
    EXPECT_EQ(mmioRead(file, read + 3, 12), 12);
    EXPECT_EQ(std::string(read), "abcdefghijklmno");
    EXPECT_EQ(backing.reads, (std::vector<LPARAM>{8, 7})) << "5 bytes from the buffer, 7 past it";
    EXPECT_EQ(mmioSeek(file, 0, SEEK_CUR), 15);

    // The buffer is empty at the new position: direct access refills it from there.
    MMIOINFO info{};
    ASSERT_EQ(mmioGetInfo(file, &info, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(info.pchNext, info.pchEndRead);
    ASSERT_EQ(mmioAdvance(file, &info, MMIO_READ), MMSYSERR_NOERROR);
    EXPECT_EQ(info.lBufOffset, 15);
    EXPECT_EQ(std::string(info.pchNext, 8), "pqrstuvw");
    info.pchNext += 2;
    ASSERT_EQ(mmioSetInfo(file, &info, 0), MMSYSERR_NOERROR);

    // At the end of the file a large read delivers what is left.
    std::memset(read, 0, sizeof read);
    EXPECT_EQ(mmioRead(file, read, 20), 9);
    EXPECT_EQ(std::string(read), "rstuvwxyz");
    EXPECT_EQ(mmioRead(file, read, 20), 0);
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
}

TEST(MmioLargeRead, WritesStillInTheBufferReachTheFileBeforeItIsReadPast) {
    StringFile backing;
    backing.content = "0123456789ABCDEFGHIJ";
    HMMIO file = OpenString(backing, 4);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(mmioWrite(file, "xy", 2), 2);
    char read[16] = {};
    EXPECT_EQ(mmioRead(file, read, 6), 6);
    EXPECT_EQ(std::string(read), "234567") << "the written bytes are not read again";
    EXPECT_EQ(backing.content, "xy23456789ABCDEFGHIJ") << "the written bytes are on the disk";
    EXPECT_EQ(mmioSeek(file, 0, SEEK_SET), 0);
    EXPECT_EQ(mmioRead(file, read, 4), 4);
    EXPECT_EQ(std::string(read, 4), "xy23");
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
}

TEST(MmioFourcc, StringsArePaddedWithBlanksAndOptionallyRaised) {
    EXPECT_EQ(mmioStringToFOURCCA("fmt", 0), mmioFOURCC('f', 'm', 't', ' '));
    EXPECT_EQ(mmioStringToFOURCCA("wave", MMIO_TOUPPER), mmioFOURCC('W', 'A', 'V', 'E'));
    EXPECT_EQ(mmioStringToFOURCCA("RIFFRAFF", 0), FOURCC_RIFF);
}

} // namespace
