// Sprite drawing, headless: where texels land, how they blend and what is left out.

#include "graphics_support.h"

#include <cmath>
#include <limits>

namespace {

using graphics_test::HeadlessDevice;

constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

class SpriteTest : public HeadlessDevice {
protected:
    void SetUp() override {
        HeadlessDevice::SetUp();
        MakeDevice(16, 8);
    }
};

TEST_F(SpriteTest, TheTopLeftCornerGoesToThePosition) {
    IDirect3DTexture9* texture = MakeTexture(2, 2, {kRed, kGreen, kWhite, kRed});
    DrawFrame(texture, nullptr, 3, 2);
    EXPECT_EQ(Pixel(3, 2), kRed);
    EXPECT_EQ(Pixel(4, 2), kGreen);
    EXPECT_EQ(Pixel(3, 3), kWhite);
    EXPECT_EQ(Pixel(4, 3), kRed);
    EXPECT_EQ(Pixel(2, 2), kBlue);
    EXPECT_EQ(Pixel(5, 3), kBlue);
    EXPECT_EQ(Pixel(3, 4), kBlue);
    texture->Release();
}

TEST_F(SpriteTest, ASourceRectangleDrawsOneTileOfAnAtlas) {
    // Two 2x2 tiles at a 3-pixel pitch, with a 1-pixel gutter of green between them.
    std::vector<std::uint32_t> atlas = {kRed, kRed, kGreen, kWhite, kWhite,
                                        kRed, kRed, kGreen, kWhite, kWhite};
    IDirect3DTexture9* texture = MakeTexture(5, 2, atlas);
    RECT second{3, 0, 5, 2};
    DrawFrame(texture, &second, 0, 0);
    EXPECT_EQ(Pixel(0, 0), kWhite);
    EXPECT_EQ(Pixel(1, 1), kWhite);
    EXPECT_EQ(Pixel(2, 0), kBlue); // nothing of the gutter
    texture->Release();
}

TEST_F(SpriteTest, FractionalPositionsRoundToTheNearestPixel) {
    IDirect3DTexture9* texture = MakeTexture(1, 1, {kRed});
    DrawFrame(texture, nullptr, 4.4f, 1.6f);
    EXPECT_EQ(Pixel(4, 2), kRed);
    EXPECT_EQ(Pixel(5, 2), kBlue);
    EXPECT_EQ(Pixel(4, 1), kBlue);
    texture->Release();
}

TEST_F(SpriteTest, SpritesAreClippedAtEveryEdgeAndFarOffOnesAreSkipped) {
    IDirect3DTexture9* texture = MakeTexture(3, 3, std::vector<std::uint32_t>(9, kRed));
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0);
    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    D3DXVECTOR3 positions[] = {{-2, -2, 0},
                               {15, 7, 0},
                               {1e30f, 0, 0},
                               {-1e30f, -1e30f, 0},
                               {std::numeric_limits<float>::quiet_NaN(), 0, 0},
                               {std::numeric_limits<float>::infinity(), 0, 0}};
    for (const auto& position : positions) {
        EXPECT_EQ(sprite->Draw(texture, nullptr, nullptr, &position, 0xFFFFFFFF), D3D_OK);
    }
    sprite->End();
    device->EndScene();
    EXPECT_EQ(Pixel(0, 0), kRed); // the last column and row of the first sprite
    EXPECT_EQ(Pixel(1, 0), kBlue);
    EXPECT_EQ(Pixel(0, 1), kBlue);
    EXPECT_EQ(Pixel(15, 7), kRed);
    EXPECT_EQ(Pixel(14, 7), kBlue);
    texture->Release();
}

TEST_F(SpriteTest, AlphaBlendingMixesByTheTexelsAlpha) {
    IDirect3DTexture9* texture =
        MakeTexture(3, 1, {0x80FF0000, 0x00FF0000 /* transparent */, 0xFFFF0000});
    DrawFrame(texture, nullptr, 0, 0, D3DXSPRITE_ALPHABLEND);
    EXPECT_EQ(Pixel(0, 0), 0xFF80007Fu); // half red over blue
    EXPECT_EQ(Pixel(1, 0), kBlue);
    EXPECT_EQ(Pixel(2, 0), kRed);

    DrawFrame(texture, nullptr, 0, 0, 0); // without blending texels replace what is there
    EXPECT_EQ(Pixel(0, 0), kRed);
    EXPECT_EQ(Pixel(1, 0), kRed);
    texture->Release();
}

TEST_F(SpriteTest, AnOpaqueTextureIgnoresItsAlphaByte) {
    IDirect3DTexture9* texture = MakeTexture(1, 1, {0x00FF0000}, D3DFMT_X8R8G8B8);
    DrawFrame(texture, nullptr, 0, 0, D3DXSPRITE_ALPHABLEND);
    EXPECT_EQ(Pixel(0, 0), kRed);
    texture->Release();
}

TEST_F(SpriteTest, TheColourMultipliesEachTexel) {
    IDirect3DTexture9* texture = MakeTexture(1, 1, {kWhite});
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    D3DXVECTOR3 position(0, 0, 0);
    sprite->Draw(texture, nullptr, nullptr, &position, 0xFF808000);
    sprite->End();
    device->EndScene();
    EXPECT_EQ(Pixel(0, 0), 0xFF808000u);
    texture->Release();
}

TEST_F(SpriteTest, LaterSpritesOfABatchCoverEarlierOnesAndTheCentreShiftsThem) {
    IDirect3DTexture9* red = MakeTexture(2, 2, std::vector<std::uint32_t>(4, kRed));
    IDirect3DTexture9* green = MakeTexture(2, 2, std::vector<std::uint32_t>(4, kGreen));
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0);
    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    D3DXVECTOR3 position(4, 4, 0);
    D3DXVECTOR3 centre(1, 1, 0);
    sprite->Draw(red, nullptr, nullptr, &position, 0xFFFFFFFF);
    sprite->Draw(green, nullptr, &centre, &position, 0xFFFFFFFF);
    sprite->End();
    device->EndScene();
    EXPECT_EQ(Pixel(3, 3), kGreen);
    EXPECT_EQ(Pixel(4, 4), kGreen);
    EXPECT_EQ(Pixel(5, 5), kRed);
    EXPECT_EQ(Pixel(5, 4), kRed);
    red->Release();
    green->Release();
}

TEST_F(SpriteTest, NothingIsDrawnOutsideAScene) {
    IDirect3DTexture9* texture = MakeTexture(1, 1, {kRed});
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0);
    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    D3DXVECTOR3 position(0, 0, 0);
    sprite->Draw(texture, nullptr, nullptr, &position, 0xFFFFFFFF);
    EXPECT_EQ(sprite->End(), D3DERR_INVALIDCALL);
    EXPECT_EQ(Pixel(0, 0), kBlue);
    texture->Release();
}

TEST_F(SpriteTest, ANullTextureDrawsNothing) {
    DrawFrame(nullptr, nullptr, 0, 0);
    EXPECT_EQ(Pixel(0, 0), kBlue);
    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    D3DXVECTOR3 position(0, 0, 0);
    EXPECT_EQ(sprite->Draw(nullptr, nullptr, nullptr, &position, 0xFFFFFFFF), D3DERR_INVALIDCALL);
    sprite->End();
}

TEST_F(SpriteTest, BatchesDoNotNestAndDrawingNeedsABatch) {
    IDirect3DTexture9* texture = MakeTexture(1, 1, {kRed});
    D3DXVECTOR3 position(0, 0, 0);
    EXPECT_EQ(sprite->Draw(texture, nullptr, nullptr, &position, 0xFFFFFFFF), D3DERR_INVALIDCALL);
    EXPECT_EQ(sprite->End(), D3DERR_INVALIDCALL);
    EXPECT_EQ(sprite->Begin(0), D3D_OK);
    EXPECT_EQ(sprite->Begin(0), D3DERR_INVALIDCALL);
    // A texture released while queued is still drawn from: the batch holds it.
    sprite->Draw(texture, nullptr, nullptr, &position, 0xFFFFFFFF);
    texture->Release();
    device->BeginScene();
    EXPECT_EQ(sprite->End(), D3D_OK);
    device->EndScene();
    EXPECT_EQ(Pixel(0, 0), kRed);
}

} // namespace
