// Buffered writes that the disk refuses: the failure surfaces when the buffer is written out,
// by a flush or by the close, and is not lost on the way.

#include "mmio_test_support.h"

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using namespace mmio_test;

class FullDisk : public testing::Test {
protected:
    void SetUp() override {
        if (access("/dev/full", W_OK) != 0)
            GTEST_SKIP() << "no full device here";
        file = OpenFile("/dev/full", MMIO_ALLOCBUF | MMIO_WRITE);
        ASSERT_NE(file, nullptr);
    }

    HMMIO file = nullptr;
};

TEST_F(FullDisk, FlushAndCloseReportTheUnwrittenBuffer) {
    const char bytes[16] = {1, 2, 3};
    ASSERT_EQ(mmioWrite(file, bytes, sizeof bytes), static_cast<LONG>(sizeof bytes));
    EXPECT_EQ(mmioFlush(file, 0), MMIOERR_CANNOTWRITE);
    // The bytes are still waiting, so trying again fails again rather than dropping them.
    EXPECT_EQ(mmioFlush(file, MMIO_EMPTYBUF), MMIOERR_CANNOTWRITE);
    EXPECT_EQ(mmioClose(file, 0), MMIOERR_CANNOTWRITE);
}

TEST_F(FullDisk, CloseReportsBytesWrittenStraightIntoTheBuffer) {
    MMIOINFO info{};
    ASSERT_EQ(mmioGetInfo(file, &info, 0), MMSYSERR_NOERROR);
    ASSERT_LT(info.pchNext, info.pchEndWrite);
    *info.pchNext++ = 'x';
    info.dwFlags |= MMIO_DIRTY;
    ASSERT_EQ(mmioSetInfo(file, &info, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioClose(file, 0), MMIOERR_CANNOTWRITE);
}

} // namespace
