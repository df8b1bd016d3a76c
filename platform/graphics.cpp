#include "platform/graphics.h"

#include "platform/platform_state.h"

namespace {
constexpr D3DCOLOR opaqueBlack = 0xFF000000;
} // namespace

int Init_Direct3D(HWND window, int width, int height) {
    d3dObject = Direct3DCreate9(D3D_SDK_VERSION);
    if (d3dObject == nullptr) {
        Log << "Error creating Direct3D object\n";
        return 0;
    }

    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = static_cast<UINT>(width);
    parameters.BackBufferHeight = static_cast<UINT>(height);
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.MultiSampleType = D3DMULTISAMPLE_NONE;
    parameters.MultiSampleQuality = 0;
    parameters.SwapEffect = D3DSWAPEFFECT_COPY;
    parameters.hDeviceWindow = window;
    parameters.Windowed = FALSE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    parameters.Flags = 0;
    parameters.FullScreen_RefreshRateInHz = 0;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;

    if (FAILED(d3dObject->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                       D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters,
                                       &d3dDevice))) {
        Log << "Error creating Direct3D device\n";
        return 0;
    }

    d3dDevice->Clear(0, nullptr, D3DCLEAR_TARGET, opaqueBlack, 1.0f, 0);
    d3dDevice->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);

    if (FAILED(D3DXCreateSprite(d3dDevice, &spriteHandler))) {
        Log << "Error Creating sprite handler\n";
        return 0;
    }
    Log << "Sprite Handler Created\n";
    Log << "Direct3D objects initialized\n";
    return 1;
}

IDirect3DTexture9* LoadTexture(const char* fileName, D3DCOLOR transparentColour) {
    D3DXIMAGE_INFO info{};
    if (FAILED(D3DXGetImageInfoFromFileA(fileName, &info))) {
        Log << "D3DXGetImageInfoFromFile failed\n";
        return nullptr;
    }
    IDirect3DTexture9* texture = nullptr;
    if (FAILED(D3DXCreateTextureFromFileExA(
            d3dDevice, fileName, info.Width, info.Height, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_DEFAULT,
            D3DX_DEFAULT, D3DX_DEFAULT, transparentColour, &info, nullptr, &texture))) {
        Log << "CreateTextureFromFileEx failed\n";
        return nullptr;
    }
    Log << "LoadTexture() Successful\n";
    return texture;
}

IDirect3DSurface9* LoadSurface(const char* fileName, D3DCOLOR transparentColour) {
    D3DXIMAGE_INFO info{};
    if (FAILED(D3DXGetImageInfoFromFileA(fileName, &info))) {
        Log << "D3DXGetImageInfoFromFile Failed\n";
        return nullptr;
    }
    IDirect3DSurface9* surface = nullptr;
    if (FAILED(d3dDevice->CreateOffscreenPlainSurface(info.Width, info.Height, D3DFMT_X8R8G8B8,
                                                      D3DPOOL_DEFAULT, &surface, nullptr))) {
        Log << "CreateOffscreenPlainSurface failed\n";
        return nullptr;
    }
    if (FAILED(D3DXLoadSurfaceFromFileA(surface, nullptr, nullptr, fileName, nullptr, D3DX_DEFAULT,
                                        transparentColour, nullptr))) {
        Log << "D3DXLoadSurfaceFromFile failed\n";
        surface->Release(); // nobody else holds it
        return nullptr;
    }
    Log << "LoadSurface() successful\n";
    return surface;
}
