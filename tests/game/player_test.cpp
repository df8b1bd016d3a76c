#include "../platform/log_capture.h"
#include "game/player.h"

#include <gtest/gtest.h>

namespace {

Player Moving(float velX, float accelX) {
    Player player;
    player.SetMaxAccel(0.2f);
    player.SetMaxSpeed(4.0f);
    player.velX = velX;
    player.accelX = accelX;
    return player;
}

TEST(PlayerUpdate, ClampsTheAccelerationBeforeAddingIt) {
    Player player = Moving(0, 0.25f);
    player.Update();
    EXPECT_FLOAT_EQ(player.accelX, 0.2f);
    EXPECT_FLOAT_EQ(player.velX, 0.2f);
    EXPECT_FLOAT_EQ(player.x, 0.2f);

    player = Moving(0, -0.2f); // equal to the limit: left as it is
    player.Update();
    EXPECT_EQ(player.accelX, -0.2f);
    EXPECT_EQ(player.velX, -0.2f);
}

TEST(PlayerUpdate, HoldsTheSpeedAtItsLimitAndDropsTheAcceleration) {
    Player player = Moving(3.9f, 0.2f);
    player.Update();
    EXPECT_EQ(player.velX, 4.0f);
    EXPECT_EQ(player.accelX, 0.0f);
    EXPECT_EQ(player.x, 4.0f);

    player = Moving(-3.95f, -0.1f);
    player.Update();
    EXPECT_EQ(player.velX, -4.0f);
    EXPECT_EQ(player.accelX, 0.0f);

    player = Moving(-4.0f, 0); // at the limit: no clamp, the acceleration is not touched
    player.accelX = 0;
    player.Update();
    EXPECT_EQ(player.velX, -4.0f);
    EXPECT_EQ(player.x, -4.0f);
}

TEST(PlayerUpdate, NothingLimitsTheVerticalMotion) {
    Player player = Moving(0, 0);
    player.y = 10;
    player.velY = 50;
    player.accelY = 1;
    player.Update();
    EXPECT_EQ(player.velY, 51.0f);
    EXPECT_EQ(player.y, 61.0f);
}

TEST(PlayerConstruction, HasOnlyItsSize) {
    Player player;
    EXPECT_EQ(player.Width(), 30);
    EXPECT_EQ(player.Height(), 30);
    EXPECT_EQ(player.texture, nullptr);
    EXPECT_FALSE(player.visible);
    player.accelX = 1; // limits of zero hold everything still
    player.Update();
    EXPECT_EQ(player.velX, 0.0f);
}

TEST(PlayerRelease, WithoutATextureOnlyLogs) {
    LogCapture log;
    Player player;
    player.Release();
    EXPECT_EQ(player.texture, nullptr);
    EXPECT_EQ(log.TakeLines(), (std::vector<std::string>{"Player texture released"}));
}

} // namespace
