// Game_Init and Game_Shutdown: what they set up, what they log, and how a missing asset ends.

#include "game_session.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

TEST(GameSetUp, StartsTheBikerAboveTheFloorAndLogsEachLoad) {
    GameSession game;
    ASSERT_TRUE(game.platformReady);
    ASSERT_EQ(game.Start(), 1);
    EXPECT_EQ(game.setUpLines,
              (Lines{"LoadTexture() Successful", "LoadTexture() Successful",
                     "LoadSound() Successful", "Game Specific Objects Initialized"}));
    EXPECT_EQ(gameState, 1);
    EXPECT_EQ(player.x, 300.0f);
    EXPECT_EQ(player.y, 600.0f);
    EXPECT_EQ(player.accelY, 0.01f);
    EXPECT_TRUE(player.visible);
    EXPECT_NE(player.texture, nullptr);
    EXPECT_NE(tileMap.Texture(), nullptr);
    EXPECT_NE(hitSound, nullptr);
}

TEST(GameSetUp, MissingHitSoundFailsTheStart) {
    GameSession game({"Biker2.bmp", "TilesFun2.bmp"});
    ASSERT_TRUE(game.platformReady);
    EXPECT_EQ(game.Start(), 0);
    ASSERT_FALSE(game.setUpLines.empty());
    EXPECT_EQ(game.setUpLines.back(), "LoadSound() Create failed");
    EXPECT_EQ(gameState, 0);
    EXPECT_EQ(hitSound, nullptr);
}

TEST(GameSetUp, MissingPicturesAreLoggedAndPlayGoesOnWithoutThem) {
    GameSession game({"hit1.wav"});
    ASSERT_TRUE(game.platformReady);
    ASSERT_EQ(game.Start(), 1);
    EXPECT_EQ(game.setUpLines,
              (Lines{"D3DXGetImageInfoFromFile failed", "D3DXGetImageInfoFromFile failed",
                     "LoadSound() Successful", "Game Specific Objects Initialized"}));
    EXPECT_EQ(tileMap.Texture(), nullptr);
    EXPECT_EQ(player.texture, nullptr);
    game.Frame();
    EXPECT_EQ(game.platform.framesPresented, 1);
    EXPECT_EQ(game.platform.Pixel(500, 300), 0xFF0000FFu) << "only the clear colour is left";
}

TEST(GameShutdown, DeletesTheHitSoundAndWritesTheClosingLines) {
    GameSession game;
    ASSERT_EQ(game.Start(), 1);
    Game_Shutdown(game.window);
    EXPECT_EQ(hitSound, nullptr);
    EXPECT_EQ(game.log.TakeLines(), (Lines{"Surfaces Released", "Textures Released",
                                           "Sounds Deleted", "", "Game shut down!"}));
}

} // namespace
