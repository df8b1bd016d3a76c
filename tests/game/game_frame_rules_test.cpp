// What a frame does besides motion: the hit sound, the Escape request, the game states and the
// picture it presents.

#include "bitmap_file.h"
#include "game_session.h"
#include "sound/sound_clip.h"

#include <dinput.h>
#include <gtest/gtest.h>

namespace {

class GameFrameRulesTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(game.platformReady); }
    GameSession game;
};

TEST_F(GameFrameRulesTest, HoldingBPlaysTheHitInEveryFrame) {
    ASSERT_EQ(game.Start(), 1);
    game.Frame();
    EXPECT_FALSE(hitSound->IsPlaying());
    for (int frame = 0; frame < 3; ++frame) {
        game.Frame({DIK_B});
        EXPECT_TRUE(hitSound->IsPlaying()) << "frame " << frame;
        hitSound->Stop();
    }
    game.Frame();
    EXPECT_FALSE(hitSound->IsPlaying());
}

TEST_F(GameFrameRulesTest, EscapePostsOneDestroyRequestPerPress) {
    ASSERT_EQ(game.Start(), 1);
    game.Frames(5, {DIK_ESCAPE});
    ASSERT_EQ(winapi::hooks::QueuedMessageCount(), 1u);
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.hwnd, game.window);
    EXPECT_EQ(message.message, static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_EQ(message.lParam, 0);

    game.Frame();
    game.Frames(2, {DIK_ESCAPE});
    EXPECT_EQ(winapi::hooks::QueuedMessageCount(), 1u);
}

TEST_F(GameFrameRulesTest, BeforeASuccessfulStartFramesLogAProblemAndStillDrawAndHearEscape) {
    game.Frame({DIK_ESCAPE, DIK_RIGHT});
    EXPECT_EQ(game.log.TakeLines(), (std::vector<std::string>{"Problem with Game State Switch"}));
    EXPECT_EQ(game.platform.framesPresented, 1);
    EXPECT_EQ(winapi::hooks::QueuedMessageCount(), 1u);
    EXPECT_EQ(player.x, 0.0f);
}

TEST_F(GameFrameRulesTest, IdleStateOnlyDraws) {
    ASSERT_EQ(game.Start(), 1);
    gameState = 2;
    game.Frames(3, {DIK_RIGHT, DIK_SPACE, DIK_B});
    EXPECT_TRUE(game.log.TakeLines().empty());
    EXPECT_EQ(game.platform.framesPresented, 3);
    EXPECT_EQ(player.x, 300.0f);
    EXPECT_EQ(player.y, 600.0f);
    EXPECT_FALSE(hitSound->IsPlaying());
}

TEST_F(GameFrameRulesTest, PresentedFrameShowsEveryTileAndTheBikerWithItsMagentaLeftOut) {
    ASSERT_EQ(game.Start(), 1);
    game.Frames(40);
    ASSERT_EQ(player.x, 300.0f);
    ASSERT_EQ(player.y, 674.0f);
    const Bitmap atlas = ReadBitmap("TilesFun2.bmp");
    const Bitmap biker = ReadBitmap("Biker2.bmp");
    ASSERT_EQ(atlas.width, 133);
    ASSERT_EQ(biker.width, 30);
    const int mismatches =
        CountMismatches([&](int x, int y) { return game.platform.Pixel(x, y); },
                        [](int column, int row) { return tileMap.TileAt(column, row).number; },
                        atlas, biker, 300, 674);
    EXPECT_EQ(mismatches, 0);
}

} // namespace
