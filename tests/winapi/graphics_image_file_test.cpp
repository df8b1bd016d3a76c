// Image files through D3DX, headless: information, textures with a colour key, surfaces.

#include "graphics_support.h"

#include <fstream>

namespace {

using graphics_test::HeadlessDevice;
using graphics_test::WriteBmp;
using graphics_test::WritePng;
using winapi::hooks::GraphicsCall;

constexpr std::uint32_t kMagenta = 0xFF00FF;

class ImageFileTest : public HeadlessDevice {
protected:
    void SetUp() override {
        HeadlessDevice::SetUp();
        MakeDevice(16, 8);
        prefix = std::string("image_file_") +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }

    IDirect3DTexture9* LoadTexture(const std::string& path, D3DCOLOR key,
                                   HRESULT expected = D3D_OK) {
        IDirect3DTexture9* texture = nullptr;
        D3DXIMAGE_INFO info{};
        EXPECT_EQ(D3DXGetImageInfoFromFileA(path.c_str(), &info), D3D_OK);
        EXPECT_EQ(D3DXCreateTextureFromFileExA(device, path.c_str(), info.Width, info.Height, 1, 0,
                                               D3DFMT_UNKNOWN, D3DPOOL_DEFAULT, D3DX_DEFAULT,
                                               D3DX_DEFAULT, key, &info, nullptr, &texture),
                  expected);
        return texture;
    }

    static std::uint32_t Texel(IDirect3DTexture9* texture, int x, int y) {
        D3DLOCKED_RECT locked{};
        texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY);
        std::uint32_t texel =
            static_cast<const std::uint32_t*>(locked.pBits)[y * (locked.Pitch / 4) + x];
        texture->UnlockRect(0);
        return texel;
    }

    std::string prefix;
};

TEST_F(ImageFileTest, InformationGivesTheSizeAndKindOfTheFile) {
    WriteBmp(prefix + ".bmp", 30, 30, std::vector<std::uint32_t>(900, 0x102030));
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(D3DXGetImageInfoFromFileA((prefix + ".bmp").c_str(), &info), D3D_OK);
    EXPECT_EQ(info.Width, 30u);
    EXPECT_EQ(info.Height, 30u);
    EXPECT_EQ(info.MipLevels, 1u);
    EXPECT_EQ(info.Format, D3DFMT_R8G8B8);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_BMP);

    WritePng(prefix + ".png", 3, 2, std::vector<std::uint32_t>(6, 0x80FFFFFF));
    ASSERT_EQ(D3DXGetImageInfoFromFileA((prefix + ".png").c_str(), &info), D3D_OK);
    EXPECT_EQ(info.Width, 3u);
    EXPECT_EQ(info.Height, 2u);
    EXPECT_EQ(info.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_PNG);
}

TEST_F(ImageFileTest, MissingAndBrokenFilesAreReportedNotRead) {
    D3DXIMAGE_INFO info{};
    EXPECT_EQ(D3DXGetImageInfoFromFileA("no_such_image.bmp", &info), D3DERR_NOTFOUND);
    std::ofstream(prefix + ".txt") << "not an image at all";
    EXPECT_EQ(D3DXGetImageInfoFromFileA((prefix + ".txt").c_str(), &info), D3DXERR_INVALIDDATA);

    // A BMP cut short after its header.
    WriteBmp(prefix + ".bmp", 64, 64, std::vector<std::uint32_t>(64 * 64, 0));
    std::ifstream whole(prefix + ".bmp", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(whole)), {});
    std::ofstream(prefix + "_cut.bmp", std::ios::binary) << bytes.substr(0, 80);
    EXPECT_EQ(D3DXGetImageInfoFromFileA((prefix + "_cut.bmp").c_str(), &info), D3DXERR_INVALIDDATA);

    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(D3DXCreateTextureFromFileExA(device, "no_such_image.bmp", 0, 0, 1, 0, D3DFMT_UNKNOWN,
                                           D3DPOOL_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr,
                                           nullptr, &texture),
              D3DERR_NOTFOUND);
    EXPECT_EQ(texture, nullptr);
}

TEST_F(ImageFileTest, TexelsExactlyEqualToTheColourKeyBecomeTransparentBlack) {
    WriteBmp(prefix + ".bmp", 3, 1, {kMagenta, 0xFE00FF /* near magenta */, 0x123456});
    IDirect3DTexture9* texture = LoadTexture(prefix + ".bmp", 0xFFFF00FF);
    ASSERT_NE(texture, nullptr);
    D3DSURFACE_DESC description{};
    texture->GetLevelDesc(0, &description);
    EXPECT_EQ(description.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(texture->GetLevelCount(), 1u);
    EXPECT_EQ(Texel(texture, 0, 0), 0x00000000u);
    EXPECT_EQ(Texel(texture, 1, 0), 0xFFFE00FFu);
    EXPECT_EQ(Texel(texture, 2, 0), 0xFF123456u);
    texture->Release();
}

TEST_F(ImageFileTest, WithoutAColourKeyTheTextureIsOpaqueAndKeepsEveryTexel) {
    WriteBmp(prefix + ".bmp", 2, 1, {kMagenta, 0x123456});
    IDirect3DTexture9* texture = LoadTexture(prefix + ".bmp", 0);
    ASSERT_NE(texture, nullptr);
    D3DSURFACE_DESC description{};
    texture->GetLevelDesc(0, &description);
    EXPECT_EQ(description.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(Texel(texture, 0, 0) | 0xFF000000u, 0xFFFF00FFu);
    texture->Release();
}

TEST_F(ImageFileTest, AKeyedImageDrawnWithBlendingShowsTheBackgroundThroughItsKeyColour) {
    // A 30 by 30 picture: magenta all round, a white square in the middle.
    std::vector<std::uint32_t> picture(900, kMagenta);
    for (int y = 10; y < 20; ++y) {
        for (int x = 10; x < 20; ++x) {
            picture[static_cast<std::size_t>(y * 30 + x)] = 0xFFFFFF;
        }
    }
    WriteBmp(prefix + ".bmp", 30, 30, picture);
    IDirect3DTexture9* texture = LoadTexture(prefix + ".bmp", 0xFFFF00FF);
    ASSERT_NE(texture, nullptr);
    device->Release();
    sprite->Release();
    device = nullptr;
    sprite = nullptr;
    MakeDevice(40, 40);
    DrawFrame(texture, nullptr, 5, 5);
    EXPECT_EQ(Pixel(5, 5), 0xFF0000FFu);
    EXPECT_EQ(Pixel(14, 14), 0xFF0000FFu);
    EXPECT_EQ(Pixel(15, 15), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(24, 24), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(34, 34), 0xFF0000FFu);
    texture->Release();
}

TEST_F(ImageFileTest, APngKeepsItsOwnAlpha) {
    WritePng(prefix + ".png", 2, 1, {0x00000000, 0x80FF0000});
    IDirect3DTexture9* texture = LoadTexture(prefix + ".png", 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(Texel(texture, 1, 0), 0x80FF0000u);
    DrawFrame(texture, nullptr, 0, 0);
    EXPECT_EQ(Pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(Pixel(1, 0), 0xFF80007Fu);
    texture->Release();
}

TEST_F(ImageFileTest, AnotherSizeScalesTheImageByTheNearestTexel) {
    WriteBmp(prefix + ".bmp", 2, 1, {0xFF0000, 0x00FF00});
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device, (prefix + ".bmp").c_str(), 4, 2, 1, 0,
                                           D3DFMT_UNKNOWN, D3DPOOL_DEFAULT, D3DX_DEFAULT,
                                           D3DX_DEFAULT, 0, nullptr, nullptr, &texture),
              D3D_OK);
    EXPECT_EQ(Texel(texture, 1, 1), 0xFFFF0000u);
    EXPECT_EQ(Texel(texture, 2, 0), 0xFF00FF00u);
    texture->Release();
}

TEST_F(ImageFileTest, ASurfaceLoadsTheImageIntoItsRectangleWithTheKeyAsBlack) {
    WriteBmp(prefix + ".bmp", 2, 2, {kMagenta, 0x123456, 0x123456, 0x123456});
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(device->CreateOffscreenPlainSurface(4, 4, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &surface,
                                                  nullptr),
              D3D_OK);
    RECT lowerRight{2, 2, 4, 4};
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(D3DXLoadSurfaceFromFileA(surface, nullptr, &lowerRight, (prefix + ".bmp").c_str(),
                                       nullptr, D3DX_DEFAULT, 0xFFFF00FF, &info),
              D3D_OK);
    EXPECT_EQ(info.Width, 2u);
    D3DLOCKED_RECT locked{};
    surface->LockRect(&locked, nullptr, 0);
    const auto* pixels = static_cast<const std::uint32_t*>(locked.pBits);
    EXPECT_EQ(pixels[2 * 4 + 2], 0xFF000000u); // the keyed pixel, black on an opaque surface
    EXPECT_EQ(pixels[3 * 4 + 3], 0xFF123456u);
    EXPECT_EQ(pixels[0], 0xFF000000u); // untouched
    surface->UnlockRect();

    RECT beyond{0, 0, 3, 3};
    EXPECT_EQ(D3DXLoadSurfaceFromFileA(surface, nullptr, nullptr, (prefix + ".bmp").c_str(),
                                       &beyond, D3DX_DEFAULT, 0, nullptr),
              D3DERR_INVALIDCALL);
    surface->Release();
}

TEST_F(ImageFileTest, InjectedFailuresStopTheLoadsThatTheGameChecks) {
    WriteBmp(prefix + ".bmp", 2, 2, std::vector<std::uint32_t>(4, 0));
    D3DXIMAGE_INFO info{};
    winapi::hooks::FailGraphicsCall(GraphicsCall::GetImageInfo, D3DXERR_INVALIDDATA);
    EXPECT_EQ(D3DXGetImageInfoFromFileA((prefix + ".bmp").c_str(), &info), D3DXERR_INVALIDDATA);
    winapi::hooks::FailGraphicsCall(GraphicsCall::GetImageInfo, D3D_OK);
    winapi::hooks::FailGraphicsCall(GraphicsCall::CreateTextureFromFile, D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(LoadTexture(prefix + ".bmp", 0, D3DERR_OUTOFVIDEOMEMORY), nullptr);
}

} // namespace
