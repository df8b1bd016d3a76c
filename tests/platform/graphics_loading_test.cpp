// LoadTexture and LoadSurface: pictures read at their own size, the colour key, and the failures.

#include "headless_platform.h"
#include "log_capture.h"
#include "platform/graphics.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using winapi::hooks::GraphicsCall;

constexpr std::uint32_t magenta = 0xFFFF00FF;
constexpr std::uint32_t green = 0xFF20C040;

// A 24-bit bitmap of width by height: magenta with a green square in the middle.
void WriteBitmap(const std::string& path, int width, int height) {
    const int rowSize = (width * 3 + 3) & ~3;
    const int imageSize = rowSize * height;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(54 + imageSize));
    auto put = [&](int at, std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            bytes[static_cast<std::size_t>(at + i)] = static_cast<unsigned char>(value >> (8 * i));
        }
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, static_cast<std::uint32_t>(bytes.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, static_cast<std::uint32_t>(imageSize), 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool inside =
                x >= width / 3 && x < 2 * width / 3 && y >= height / 3 && y < 2 * height / 3;
            // Rows are stored bottom-up; the square is symmetric, so the order does not matter.
            put(54 + y * rowSize + x * 3, inside ? green : magenta, 3);
        }
    }
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

class GraphicsLoadingTest : public testing::Test {
protected:
    void SetUp() override {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "GraphicsLoadingTest";
        RegisterClassExA(&windowClass);
        HWND window = CreateWindowExA(0, "GraphicsLoadingTest", "", WS_POPUP | WS_VISIBLE, 0, 0,
                                      1024, 768, nullptr, nullptr, nullptr, nullptr);
        ASSERT_EQ(Init_Direct3D(window, 1024, 768), 1);
        picture = (std::filesystem::temp_directory_path() /
                   ("graphics-loading-" + std::to_string(::getpid()) + ".bmp"))
                      .string();
        WriteBitmap(picture, 30, 30);
        log.TakeLines();
    }
    void TearDown() override {
        std::filesystem::remove(picture);
        for (IUnknown* object :
             std::initializer_list<IUnknown*>{spriteHandler, backBuffer, d3dDevice, d3dObject}) {
            object->Release();
        }
        spriteHandler = nullptr;
        backBuffer = nullptr;
        d3dDevice = nullptr;
        d3dObject = nullptr;
    }
    HeadlessPlatform platform;
    LogCapture log;
    std::string picture;
};

TEST_F(GraphicsLoadingTest, TextureHasThePictureSizeOneLevelAndTheKeyColourCleared) {
    IDirect3DTexture9* texture = LoadTexture(picture.c_str(), magenta);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(log.TakeLines(), (Lines{"LoadTexture() Successful"}));
    EXPECT_EQ(texture->GetLevelCount(), 1u);
    D3DSURFACE_DESC description{};
    ASSERT_EQ(texture->GetLevelDesc(0, &description), D3D_OK);
    EXPECT_EQ(description.Width, 30u);
    EXPECT_EQ(description.Height, 30u);

    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    const auto* texels = static_cast<const std::uint32_t*>(locked.pBits);
    const int pitch = locked.Pitch / 4;
    EXPECT_EQ(texels[0], 0u) << "the key colour becomes transparent black";
    EXPECT_EQ(texels[15 * pitch + 15], green);
    texture->UnlockRect(0);
    texture->Release();
}

TEST_F(GraphicsLoadingTest, WithoutAKeyNoColourIsTransparent) {
    IDirect3DTexture9* texture = LoadTexture(picture.c_str(), 0);
    ASSERT_NE(texture, nullptr);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<const std::uint32_t*>(locked.pBits)[0] & 0xFFFFFF, magenta & 0xFFFFFF);
    texture->UnlockRect(0);
    texture->Release();
}

TEST_F(GraphicsLoadingTest, TextureFailuresLogOneLineAndGiveNull) {
    EXPECT_EQ(LoadTexture("no-such-picture.bmp", 0), nullptr);
    EXPECT_EQ(log.TakeLines(), (Lines{"D3DXGetImageInfoFromFile failed"}));

    winapi::hooks::FailGraphicsCall(GraphicsCall::CreateTextureFromFile, D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(LoadTexture(picture.c_str(), 0), nullptr);
    EXPECT_EQ(log.TakeLines(), (Lines{"CreateTextureFromFileEx failed"}));
}

TEST_F(GraphicsLoadingTest, SurfaceHoldsThePictureAndFailuresLogTheirOwnLines) {
    IDirect3DSurface9* surface = LoadSurface(picture.c_str(), 0);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(log.TakeLines(), (Lines{"LoadSurface() successful"}));
    D3DSURFACE_DESC description{};
    ASSERT_EQ(surface->GetDesc(&description), D3D_OK);
    EXPECT_EQ(description.Width, 30u);
    EXPECT_EQ(description.Format, D3DFMT_X8R8G8B8);
    surface->Release();

    EXPECT_EQ(LoadSurface("no-such-picture.bmp", 0), nullptr);
    EXPECT_EQ(log.TakeLines(), (Lines{"D3DXGetImageInfoFromFile Failed"}));

    winapi::hooks::FailGraphicsCall(GraphicsCall::CreateOffscreenSurface, D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(LoadSurface(picture.c_str(), 0), nullptr);
    EXPECT_EQ(log.TakeLines(), (Lines{"CreateOffscreenPlainSurface failed"}));
    winapi::hooks::FailGraphicsCall(GraphicsCall::CreateOffscreenSurface, D3D_OK);

    winapi::hooks::FailGraphicsCall(GraphicsCall::LoadSurfaceFromFile, D3DXERR_INVALIDDATA);
    EXPECT_EQ(LoadSurface(picture.c_str(), 0), nullptr);
    EXPECT_EQ(log.TakeLines(), (Lines{"D3DXLoadSurfaceFromFile failed"}));
}

} // namespace
