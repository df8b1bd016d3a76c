#pragma once
// A headless window and Direct3D device set up as the game sets them up, and image files made for
// the test, for the graphics tests.

#include "winapi/hooks/graphics.h"
#include "winapi/hooks/window.h"
#include "winapi/profile.h"

#include <SDL.h>
#include <SDL_image.h>
#include <cstdint>
#include <d3dx9.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

namespace graphics_test {

inline LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

// The parameters of a full-screen 1024 by 768 device, as the game asks for it.
inline D3DPRESENT_PARAMETERS GameParameters(HWND window, UINT width = 1024, UINT height = 768) {
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = width;
    parameters.BackBufferHeight = height;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_COPY;
    parameters.hDeviceWindow = window;
    parameters.Windowed = FALSE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return parameters;
}

// Writes a 24-bit BMP (no alpha) whose pixels are given as 0xRRGGBB, row after row.
inline void WriteBmp(const std::string& path, int width, int height,
                     const std::vector<std::uint32_t>& rgb) {
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 24, SDL_PIXELFORMAT_BGR24);
    ASSERT_NE(surface, nullptr);
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch;
        for (int x = 0; x < width; ++x) {
            std::uint32_t color = rgb[static_cast<std::size_t>(y * width + x)];
            row[x * 3 + 0] = static_cast<std::uint8_t>(color);
            row[x * 3 + 1] = static_cast<std::uint8_t>(color >> 8);
            row[x * 3 + 2] = static_cast<std::uint8_t>(color >> 16);
        }
    }
    ASSERT_EQ(SDL_SaveBMP(surface, path.c_str()), 0);
    SDL_FreeSurface(surface);
}

// Writes a PNG with alpha whose pixels are given as 0xAARRGGBB.
inline void WritePng(const std::string& path, int width, int height,
                     std::vector<std::uint32_t> argb) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(argb.data(), width, height, 32,
                                                              width * 4, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(surface, nullptr);
    ASSERT_EQ(IMG_SavePNG(surface, path.c_str()), 0);
    SDL_FreeSurface(surface);
}

class HeadlessDevice : public ::testing::Test {
protected:
    void SetUp() override {
        winapi::SelectProfile(winapi::Profile::Headless);
        winapi::hooks::ResetWindowHooks();
        winapi::hooks::ResetGraphicsHooks();
        WNDCLASSEX windowClass{};
        windowClass.cbSize = sizeof(WNDCLASSEX);
        windowClass.lpfnWndProc = PlainProc;
        windowClass.lpszClassName = "Test";
        RegisterClassExA(&windowClass);
        window = CreateWindowExA(0, "Test", "Test", WS_POPUP | WS_VISIBLE, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 1024, 768, nullptr, nullptr, nullptr, nullptr);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
    }

    void TearDown() override {
        if (sprite != nullptr) {
            sprite->Release();
        }
        if (device != nullptr) {
            device->Release();
        }
        d3d->Release();
        winapi::hooks::ResetGraphicsHooks();
    }

    // A device with a small back buffer, to keep pixel checks readable.
    void MakeDevice(UINT width = 16, UINT height = 8) {
        D3DPRESENT_PARAMETERS parameters = GameParameters(window, width, height);
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                    D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device),
                  D3D_OK);
        ASSERT_EQ(D3DXCreateSprite(device, &sprite), D3D_OK);
    }

    std::uint32_t Pixel(int x, int y) {
        IDirect3DSurface9* backBuffer = nullptr;
        EXPECT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
        D3DLOCKED_RECT locked{};
        EXPECT_EQ(backBuffer->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        std::uint32_t pixel =
            static_cast<const std::uint32_t*>(locked.pBits)[y * (locked.Pitch / 4) + x];
        backBuffer->UnlockRect();
        backBuffer->Release();
        return pixel;
    }

    // A texture of the given pixels, made through the device.
    IDirect3DTexture9* MakeTexture(int width, int height, const std::vector<std::uint32_t>& argb,
                                   D3DFORMAT format = D3DFMT_A8R8G8B8) {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(device->CreateTexture(static_cast<UINT>(width), static_cast<UINT>(height), 1, 0,
                                        format, D3DPOOL_MANAGED, &texture, nullptr),
                  D3D_OK);
        D3DLOCKED_RECT locked{};
        EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                static_cast<std::uint32_t*>(locked.pBits)[y * (locked.Pitch / 4) + x] =
                    argb[static_cast<std::size_t>(y * width + x)];
            }
        }
        texture->UnlockRect(0);
        return texture;
    }

    // One frame as the game draws it: clear, one sprite batch, present.
    void DrawFrame(IDirect3DTexture9* texture, const RECT* source, float x, float y,
                   DWORD spriteFlags = D3DXSPRITE_ALPHABLEND, D3DCOLOR clear = 0xFF0000FF) {
        ASSERT_EQ(device->BeginScene(), D3D_OK);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, clear, 1.0f, 0);
        sprite->Begin(spriteFlags);
        D3DXVECTOR3 position(x, y, 0);
        sprite->Draw(texture, source, nullptr, &position, 0xFFFFFFFF);
        sprite->End();
        device->EndScene();
        device->Present(nullptr, nullptr, nullptr, nullptr);
    }

    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    ID3DXSprite* sprite = nullptr;
};

} // namespace graphics_test
