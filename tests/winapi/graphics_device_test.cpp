// The Direct3D device, headless: making it as the game does, clearing, scenes and presenting.

#include "graphics_support.h"

namespace {

using graphics_test::GameParameters;
using graphics_test::HeadlessDevice;
using winapi::hooks::GraphicsCall;

class DeviceTest : public HeadlessDevice {
protected:
    HRESULT Create(D3DPRESENT_PARAMETERS parameters, D3DDEVTYPE type = D3DDEVTYPE_HAL) {
        return d3d->CreateDevice(D3DADAPTER_DEFAULT, type, window,
                                 D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device);
    }
};

TEST_F(DeviceTest, TheGamesFullScreenDeviceHasA1024By768BackBuffer) {
    ASSERT_EQ(Create(GameParameters(window)), D3D_OK);
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    D3DSURFACE_DESC description{};
    backBuffer->GetDesc(&description);
    EXPECT_EQ(description.Width, 1024u);
    EXPECT_EQ(description.Height, 768u);
    EXPECT_EQ(description.Format, D3DFMT_X8R8G8B8);
    backBuffer->Release();
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
}

TEST_F(DeviceTest, WithoutADisplayTheDeviceCannotBeMade) {
    winapi::hooks::SetDisplayAvailable(false);
    EXPECT_EQ(Create(GameParameters(window)), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device, nullptr);
}

TEST_F(DeviceTest, ParametersTheStandInCannotHonourAreRefused) {
    D3DPRESENT_PARAMETERS noWindow = GameParameters(nullptr);
    EXPECT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, 0, &noWindow, &device),
              D3DERR_INVALIDCALL);
    D3DPRESENT_PARAMETERS sixteenBit = GameParameters(window);
    sixteenBit.BackBufferFormat = D3DFMT_R5G6B5;
    EXPECT_EQ(Create(sixteenBit), D3DERR_NOTAVAILABLE);
    D3DPRESENT_PARAMETERS noSize = GameParameters(window, 0, 0);
    EXPECT_EQ(Create(noSize), D3DERR_INVALIDCALL);
    D3DPRESENT_PARAMETERS huge = GameParameters(window, 100000, 100000);
    EXPECT_EQ(Create(huge), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(Create(GameParameters(window), D3DDEVTYPE_SW), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(d3d->CreateDevice(1, D3DDEVTYPE_HAL, window, 0, nullptr, &device),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(Direct3DCreate9(31), nullptr);
}

TEST_F(DeviceTest, InjectedFailuresReachTheCaller) {
    winapi::hooks::FailGraphicsCall(GraphicsCall::Direct3DCreate9, E_FAIL);
    EXPECT_EQ(Direct3DCreate9(D3D_SDK_VERSION), nullptr);
    winapi::hooks::FailGraphicsCall(GraphicsCall::CreateDevice, D3DERR_NOTAVAILABLE);
    EXPECT_EQ(Create(GameParameters(window)), D3DERR_NOTAVAILABLE);
    winapi::hooks::FailGraphicsCall(GraphicsCall::CreateDevice, D3D_OK);
    ASSERT_EQ(Create(GameParameters(window)), D3D_OK);
    winapi::hooks::FailGraphicsCall(GraphicsCall::CreateSprite, D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateSprite(device, &sprite), D3DERR_INVALIDCALL);
    winapi::hooks::FailGraphicsCall(GraphicsCall::CreateOffscreenSurface, D3DERR_OUTOFVIDEOMEMORY);
    IDirect3DSurface9* surface = nullptr;
    EXPECT_EQ(device->CreateOffscreenPlainSurface(4, 4, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &surface,
                                                  nullptr),
              D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(surface, nullptr);
}

TEST_F(DeviceTest, ClearFillsTheWholeBufferOrOnlyTheRectanglesClipped) {
    MakeDevice(16, 8);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), D3D_OK);
    EXPECT_EQ(Pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(Pixel(15, 7), 0xFF000000u);

    D3DRECT rect{12, 6, 40, 40}; // reaches past the corner
    EXPECT_EQ(device->Clear(1, &rect, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0), D3D_OK);
    EXPECT_EQ(Pixel(15, 7), 0xFF0000FFu);
    EXPECT_EQ(Pixel(12, 6), 0xFF0000FFu);
    EXPECT_EQ(Pixel(11, 6), 0xFF000000u);

    D3DRECT beforeTheCorner{-5, -5, 2, 1};
    D3DRECT inverted{9, 5, 4, 2};
    D3DRECT rects[] = {beforeTheCorner, inverted};
    EXPECT_EQ(device->Clear(2, rects, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0), D3D_OK);
    EXPECT_EQ(Pixel(1, 0), 0xFF00FF00u);
    EXPECT_EQ(Pixel(2, 0), 0xFF000000u);
    EXPECT_EQ(Pixel(0, 1), 0xFF000000u);
    EXPECT_EQ(Pixel(5, 3), 0xFF000000u); // an inverted rectangle is empty

    // The back buffer has no alpha: a translucent colour is stored opaque.
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00123456, 1.0f, 0);
    EXPECT_EQ(Pixel(3, 3), 0xFF123456u);

    EXPECT_EQ(device->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(0, nullptr, 0, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 2.0f, 0), D3DERR_INVALIDCALL);
}

TEST_F(DeviceTest, ScenesDoNotNest) {
    MakeDevice();
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->EndScene(), D3D_OK);
}

TEST_F(DeviceTest, PresentHandsTheWholeBackBufferToTheFrameSink) {
    MakeDevice(16, 8);
    std::vector<std::uint32_t> shown;
    int frames = 0;
    winapi::hooks::SetFrameSink([&](const winapi::hooks::Frame& frame) {
        ++frames;
        EXPECT_EQ(frame.width, 16);
        EXPECT_EQ(frame.height, 8);
        shown.assign(frame.pixels.begin(), frame.pixels.end());
    });
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF336699, 1.0f, 0);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(frames, 1);
    ASSERT_EQ(shown.size(), 16u * 8u);
    EXPECT_EQ(shown.front(), 0xFF336699u);
    EXPECT_EQ(shown.back(), 0xFF336699u);
}

TEST_F(DeviceTest, TheSpriteKeepsTheDeviceAndTheBackBufferOutlivesIt) {
    MakeDevice(16, 8);
    IDirect3DSurface9* backBuffer = nullptr;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
    // The shell releases the device first and the sprite last.
    EXPECT_EQ(device->Release(), 1u);
    device = nullptr;
    EXPECT_EQ(sprite->Begin(D3DXSPRITE_ALPHABLEND), D3D_OK);
    EXPECT_EQ(sprite->End(), D3DERR_INVALIDCALL); // not inside a scene
    EXPECT_EQ(sprite->Release(), 0u);
    sprite = nullptr;
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(backBuffer->LockRect(&locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(static_cast<const std::uint32_t*>(locked.pBits)[0], 0xFF000000u);
    backBuffer->UnlockRect();
    EXPECT_EQ(backBuffer->Release(), 0u);
}

TEST_F(DeviceTest, SurfacesAndTexturesLockOnlyOnceAndOnlyWithinBounds) {
    MakeDevice();
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(device->CreateOffscreenPlainSurface(30, 30, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT,
                                                  &surface, nullptr),
              D3D_OK);
    D3DLOCKED_RECT locked{};
    RECT outside{20, 20, 31, 25};
    EXPECT_EQ(surface->LockRect(&locked, &outside, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(surface->LockRect(&locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 30 * 4);
    EXPECT_EQ(surface->LockRect(&locked, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(surface->UnlockRect(), D3D_OK);
    EXPECT_EQ(surface->UnlockRect(), D3DERR_INVALIDCALL);
    surface->Release();

    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(
        device->CreateTexture(4, 4, 3, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
        D3DERR_NOTAVAILABLE); // one level only
    EXPECT_EQ(texture, nullptr);
}

} // namespace
