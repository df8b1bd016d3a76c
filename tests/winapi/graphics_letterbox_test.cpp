// Where the back buffer lands on screens of other sizes.

#include "winapi/hooks/graphics.h"

#include <gtest/gtest.h>

namespace {

using winapi::hooks::ScreenRect;

ScreenRect Letterbox(int bufferWidth, int bufferHeight, int screenWidth, int screenHeight) {
    return winapi::hooks::LetterboxRect(bufferWidth, bufferHeight, screenWidth, screenHeight);
}

void ExpectRect(ScreenRect rect, int x, int y, int width, int height) {
    EXPECT_EQ(rect.x, x);
    EXPECT_EQ(rect.y, y);
    EXPECT_EQ(rect.width, width);
    EXPECT_EQ(rect.height, height);
}

TEST(Letterbox, AScreenOfTheSameShapeIsFilled) {
    ExpectRect(Letterbox(1024, 768, 1024, 768), 0, 0, 1024, 768);
    ExpectRect(Letterbox(1024, 768, 2048, 1536), 0, 0, 2048, 1536);
    ExpectRect(Letterbox(1024, 768, 800, 600), 0, 0, 800, 600);
}

TEST(Letterbox, AWideScreenGetsBarsLeftAndRight) {
    ExpectRect(Letterbox(1024, 768, 1920, 1080), 240, 0, 1440, 1080);
    ExpectRect(Letterbox(1024, 768, 2560, 1080), 560, 0, 1440, 1080);
}

TEST(Letterbox, ATallScreenGetsBarsAboveAndBelow) {
    ExpectRect(Letterbox(1024, 768, 1280, 1024), 0, 32, 1280, 960);
    ExpectRect(Letterbox(1024, 768, 1080, 1920), 0, 555, 1080, 810);
}

TEST(Letterbox, OddSizesRoundToTheNearestPixelAndStayInside) {
    ExpectRect(Letterbox(1024, 768, 1366, 768), 171, 0, 1024, 768);
    ExpectRect(Letterbox(1024, 768, 1023, 767), 0, 0, 1023, 767);
    auto tiny = Letterbox(1024, 768, 1, 1);
    EXPECT_LE(tiny.width, 1);
    EXPECT_LE(tiny.height, 1);
}

TEST(Letterbox, NothingIsShownOnAnEmptyScreen) {
    ExpectRect(Letterbox(1024, 768, 0, 768), 0, 0, 0, 0);
    ExpectRect(Letterbox(0, 768, 1024, 768), 0, 0, 0, 0);
}

} // namespace
