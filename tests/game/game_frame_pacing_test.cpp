// The frame's pacing, on a tick count that the test steps poll by poll: a frame ends at the first
// tick value 15 or more after its start, never earlier and without reading the clock again.

#include "game_session.h"
#include "winapi/hooks/clock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Answers each GetTickCount with the next value of a list and counts the reads.
class SteppedTicks {
public:
    explicit SteppedTicks(std::vector<DWORD> values) : values_(std::move(values)) {
        winapi::hooks::SetTickSource([this] {
            if (reads_ >= values_.size()) {
                ADD_FAILURE() << "the tick count was read past the end of the test's list";
                return values_.back();
            }
            return values_[reads_++];
        });
    }
    ~SteppedTicks() { winapi::hooks::SetTickSource(nullptr); }
    SteppedTicks(const SteppedTicks&) = delete;
    SteppedTicks& operator=(const SteppedTicks&) = delete;

    std::size_t Reads() const { return reads_; }

private:
    std::vector<DWORD> values_;
    std::size_t reads_ = 0;
};

// Ticks from `start` moving by one each read.
std::vector<DWORD> Counting(DWORD start, int count) {
    std::vector<DWORD> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(start + static_cast<DWORD>(i));
    }
    return values;
}

class GameFramePacingTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(game.platformReady);
        ASSERT_EQ(game.Start(), 1);
    }

    // Runs one frame on `ticks` and gives the number of tick count reads it made.
    std::size_t ReadsOfOneFrame(std::vector<DWORD> ticks) {
        SteppedTicks stepped(std::move(ticks));
        game.Frame();
        return stepped.Reads();
    }

    GameSession game;
};

TEST_F(GameFramePacingTest, FrameEndsAtTheFirstTickFifteenPastItsStart) {
    // The start read, then 15 reads until the difference reaches 15; the 17th value is never read.
    EXPECT_EQ(ReadsOfOneFrame(Counting(1000, 17)), 16u);
    // The same across the wrap of the 32-bit counter, starting just below it.
    EXPECT_EQ(ReadsOfOneFrame(Counting(0xFFFFFFF5u, 17)), 16u);
    EXPECT_EQ(ReadsOfOneFrame(Counting(0xFFFFFFFFu, 17)), 16u);
}

TEST_F(GameFramePacingTest, StalledAndJumpingTicksEndTheFrameAtTheFirstValueThatSuffices) {
    const DWORD start = 0xFFFFFFFEu;
    // A clock that stands still, then jumps across the wrap to 14 past the start, then to 15.
    EXPECT_EQ(ReadsOfOneFrame({start, start, start, start + 3, start + 14, start + 15, start + 16}),
              6u);
    // A jump well beyond 15 ends the wait at once.
    EXPECT_EQ(ReadsOfOneFrame({start, start + 7, start + 40, start + 41}), 3u);
    // Time that does not move keeps the frame waiting.
    std::vector<DWORD> standing(200, start);
    standing.push_back(start + 15);
    EXPECT_EQ(ReadsOfOneFrame(standing), 201u);
}

} // namespace
