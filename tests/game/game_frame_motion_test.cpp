// Frame-by-frame play: falling and landing, the arrow keys, jumps and the collisions.

#include "game_session.h"

#include <dinput.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {
class GameFrameTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(game.platformReady);
        ASSERT_EQ(game.Start(), 1);
    }
    // Runs frames with no key down until the biker stands still on the floor.
    void Land() {
        game.Frames(34);
        ASSERT_EQ(player.y, 674.0f);
        game.log.TakeLines();
    }
    // Puts the biker at a place of the level, at rest but for a horizontal speed.
    void PlaceAt(float x, float y, float velX) {
        player.x = x;
        player.y = y;
        player.velX = velX;
        player.velY = 0;
        player.accelX = 0;
        player.accelY = 0.01f;
    }
    // The pictures are left out: the rules of motion do not depend on them, and drawing every
    // tile in every frame makes long rides slow in the sanitizer build.
    GameSession game{{"hit1.wav"}};
};

TEST_F(GameFrameTest, FirstFrameLogsThePositionThenTheSlopeQuery) {
    game.Frame();
    EXPECT_EQ(game.log.TakeLines(), (std::vector<std::string>{"300 600.02", "10 19"}));
}

TEST_F(GameFrameTest, BikerFallsAndLandsOnTheFloorInItsThirtyFourthFrame) {
    int landingFrame = 0;
    float previousY = player.y;
    for (int frame = 1; frame <= 34 && landingFrame == 0; ++frame) {
        game.Frame();
        if (player.velY == 0) {
            landingFrame = frame;
        } else {
            EXPECT_GT(player.y, previousY) << "frame " << frame;
        }
        previousY = player.y;
    }
    EXPECT_EQ(landingFrame, 34);
    EXPECT_EQ(player.y, 674.0f); // 22 * 32 - 30: on top of row 22
    EXPECT_EQ(player.accelY, 0.01f);

    // Standing is a steady cycle: each frame sinks 0.02 and is put back on the tile top.
    game.log.TakeLines();
    game.Frames(3);
    EXPECT_EQ(player.y, 674.0f);
    EXPECT_EQ(player.velY, 0.0f);
    EXPECT_EQ(game.log.TakeLines(), (std::vector<std::string>{"300 674", "10 22", "300 674",
                                                              "10 22", "300 674", "10 22"}));
}

TEST_F(GameFrameTest, ArrowKeysAccelerateAndRightWinsOverLeft) {
    Land();
    game.Frames(3, {DIK_RIGHT});
    EXPECT_FLOAT_EQ(player.accelX, 0.003f);
    EXPECT_FLOAT_EQ(player.velX, 0.006f); // 0.001 + 0.002 + 0.003

    game.Frame({DIK_RIGHT, DIK_LEFT});
    EXPECT_FLOAT_EQ(player.accelX, 0.004f);

    PlaceAt(300, 674, 0);
    game.Frames(2, {DIK_LEFT});
    EXPECT_FLOAT_EQ(player.accelX, -0.002f);
    EXPECT_FLOAT_EQ(player.velX, -0.003f);
}

TEST_F(GameFrameTest, WithoutArrowsTheSpeedDecaysByAHundredthAndNeverFlips) {
    Land();
    // Row 22 is a flat floor from column 15 to 21, open above.
    for (float start : {1.0f, -1.0f}) {
        PlaceAt(start > 0 ? 500 : 600, 674, start);
        float speed = start;
        for (int frame = 0; frame < 100; ++frame) {
            game.Frame();
            EXPECT_NEAR(player.velX, speed * 0.99f, 1e-5f);
            ASSERT_EQ(player.velX > 0, start > 0) << "frame " << frame;
            speed = player.velX;
        }
    }
}

TEST_F(GameFrameTest, HoldingSpaceJumpsOnceAndAnotherPressJumpsAgainEvenInTheAir) {
    Land();
    float highest = player.y;
    int landedAfter = 0;
    for (int frame = 1; frame <= 90; ++frame) {
        game.Frame({DIK_SPACE});
        highest = std::min(highest, player.y);
        if (frame > 1 && landedAfter == 0 && player.y == 674.0f) {
            landedAfter = frame;
        }
    }
    EXPECT_NEAR(674.0f - highest, 49.0f, 1.5f);
    EXPECT_NEAR(landedAfter, 58, 2);
    EXPECT_EQ(player.y, 674.0f); // still held: no second jump

    game.Frame();
    game.Frames(10, {DIK_SPACE});
    const float inTheAir = player.y;
    EXPECT_LT(inTheAir, 674.0f);
    game.Frame();
    game.Frame({DIK_SPACE});
    EXPECT_FLOAT_EQ(player.accelY, -0.19f);
}

TEST_F(GameFrameTest, RightWallStopsTheBikerAtItsLeftSide) {
    // Row 14 is open up to column 30; column 31 is the level's border.
    PlaceAt(960, 448, 3);
    game.Frame({DIK_RIGHT});
    EXPECT_EQ(player.x, 31 * 32 - 30.0f);
    EXPECT_EQ(player.velX, 0.0f);
    EXPECT_EQ(player.accelX, 0.0f);
    const auto lines = game.log.TakeLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "tx ty 31 14");

    for (int frame = 0; frame < 3; ++frame) {
        game.Frame({DIK_RIGHT});
        EXPECT_EQ(player.x, 962.0f);
    }
}

TEST_F(GameFrameTest, LeftWallStopsTheBikerAtTheRightSideOfTheColumnHit) {
    Land();
    PlaceAt(34, 600, -3);
    game.Frame({DIK_LEFT});
    EXPECT_EQ(player.x, 32.0f);
    EXPECT_EQ(player.velX, 0.0f);
    EXPECT_EQ(player.accelX, 0.0f);
    for (const auto& line : game.log.TakeLines()) {
        EXPECT_NE(line.rfind("tx ty", 0), 0u) << "the left side writes no wall line";
    }
}

TEST_F(GameFrameTest, RidingRightClimbsTheInclineOntoTheHigherFloor) {
    Land();
    bool rodeTheSlope = false;
    float lowestTop = player.y;
    for (int frame = 0; frame < 120 && player.x < 12 * 32; ++frame) {
        game.Frame({DIK_RIGHT});
        for (const auto& line : game.log.TakeLines()) {
            if (line.rfind("Biker x+width and tx+1 * tilewidth ", 0) == 0) {
                rodeTheSlope = true;
            }
        }
        lowestTop = std::min(lowestTop, player.y);
    }
    EXPECT_TRUE(rodeTheSlope);
    EXPECT_GE(player.x, 12 * 32.0f) << "the incline at column 11 must not stop the biker";
    EXPECT_LT(lowestTop, 674.0f - 20);
    // Past the incline it settles on row 21.
    game.Frames(10);
    EXPECT_EQ(player.y, 21 * 32 - 30.0f);
}

TEST_F(GameFrameTest, OnASlopeTheTopRisesOnePixelPerPixelOfX) {
    // The biker's bottom-right corner reaches into the incline at column 11, row 21.
    PlaceAt(330, 662, 0);
    game.Frame();
    EXPECT_EQ(
        game.log.TakeLines(),
        (std::vector<std::string>{"330 662.02", "11 21",
                                  "Biker x+width and tx+1 * tilewidth 360 384", "Biker y 662.02"}));
    EXPECT_FLOAT_EQ(player.y, 661.99f); // 20 * 32 + 31.99 - (330 mod 32)
    EXPECT_EQ(player.velY, 0.0f);
    EXPECT_EQ(player.accelY, 0.0f);

    PlaceAt(335, 662, 0);
    game.Frame();
    EXPECT_FLOAT_EQ(player.y, 656.99f);
}

TEST_F(GameFrameTest, AboveTheGridIsOpenAirAndTheBikerComesDownOnTheTopRow) {
    PlaceAt(300, -200, 0);
    game.Frame();
    const auto lines = game.log.TakeLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "10 -5") << "the slope query off the grid still logs its place";
    for (int frame = 0; frame < 60 && player.velY != 0; ++frame) {
        game.Frame();
    }
    EXPECT_EQ(player.y, -30.0f) << "standing on the top of row 0";

    PlaceAt(300, -1e12f, 0); // far beyond any tile: nothing is read, nothing breaks
    game.Frame();
    EXPECT_LT(player.y, -1e11f);
}

// After minutes of falling off the grid y passes the range of int; the slope query's place then
// saturates, below and above the grid alike, and the fall goes on.
TEST_F(GameFrameTest, FallingPastTheRangeOfIntSaturatesTheSlopeQuery) {
    struct Fall {
        float speed;
        const char* lastQuery;
    };
    for (const Fall fall : {Fall{1000, "10 67108863"}, Fall{-1000, "10 -67108863"}}) {
        PlaceAt(300, fall.speed * 2147480.0f, 0); // a few frames short of 2^31 pixels
        player.velY = fall.speed;
        game.Frames(8);
        EXPECT_GT(std::abs(player.y), 2147483648.0f);
        EXPECT_EQ(std::signbit(player.y), fall.speed < 0);
        const auto lines = game.log.TakeLines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), fall.lastQuery);
    }
}

} // namespace
