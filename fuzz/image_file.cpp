// Image files through the D3DX loading path: image information, textures (at the file's size with
// a colour key, and scaled) and a surface loaded from part of the file. Any bytes must load or be
// refused without fault, and what loads must agree with the information given for the file.

#include "winapi/profile.h"

#include <d3dx9.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

IDirect3DDevice9* MakeDevice() {
    winapi::SelectProfile(winapi::Profile::Headless);
    WNDCLASSEX windowClass{};
    windowClass.cbSize = sizeof(WNDCLASSEX);
    windowClass.lpfnWndProc = PlainProc;
    windowClass.lpszClassName = "Fuzz";
    RegisterClassExA(&windowClass);
    HWND window = CreateWindowExA(0, "Fuzz", "Fuzz", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, 64, 32,
                                  nullptr, nullptr, nullptr, nullptr);
    // Kept for the whole run, as the device is.
    static IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    Require(d3d != nullptr);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = 64;
    parameters.BackBufferHeight = 32;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_COPY;
    parameters.hDeviceWindow = window;
    parameters.Windowed = TRUE;
    IDirect3DDevice9* device = nullptr;
    Require(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                              D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device) == D3D_OK);
    return device;
}

std::string MakeFile() {
    std::string pattern = "/tmp/fuzz_image_file-XXXXXX";
    const int fd = mkstemp(pattern.data());
    Require(fd >= 0);
    close(fd);
    return pattern;
}

// Reads every texel of the top level, so that a texture smaller than it claims trips the
// sanitizer.
void ReadAll(IDirect3DTexture9* texture, UINT width, UINT height) {
    D3DLOCKED_RECT locked{};
    Require(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY) == D3D_OK);
    std::uint32_t sum = 0;
    for (UINT y = 0; y < height; ++y) {
        const auto* row = static_cast<const std::uint32_t*>(locked.pBits) + y * (locked.Pitch / 4);
        for (UINT x = 0; x < width; ++x) {
            sum += row[x];
        }
    }
    texture->UnlockRect(0);
    Require(sum != 0x12345678u || width != 0); // keeps the reads
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static IDirect3DDevice9* device = MakeDevice();
    static const std::string path = MakeFile();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Require(file != nullptr);
    Require(std::fwrite(data, 1, size, file) == size || size == 0);
    std::fclose(file);

    D3DXIMAGE_INFO info{};
    const HRESULT described = D3DXGetImageInfoFromFileA(path.c_str(), &info);
    Require(described == D3D_OK || described == D3DXERR_INVALIDDATA);
    if (FAILED(described)) {
        return 0;
    }
    Require(info.Width > 0 && info.Height > 0 && info.MipLevels == 1 && info.Depth == 1);

    IDirect3DTexture9* texture = nullptr;
    D3DXIMAGE_INFO sourceInfo{};
    Require(D3DXCreateTextureFromFileExA(device, path.c_str(), D3DX_DEFAULT, D3DX_DEFAULT, 1, 0,
                                         D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT,
                                         D3DX_DEFAULT, 0xFFFF00FF, &sourceInfo, nullptr,
                                         &texture) == D3D_OK);
    Require(sourceInfo.Width == info.Width && sourceInfo.Height == info.Height);
    D3DSURFACE_DESC desc{};
    Require(texture->GetLevelDesc(0, &desc) == D3D_OK && desc.Width == info.Width &&
            desc.Height == info.Height);
    ReadAll(texture, desc.Width, desc.Height);
    texture->Release();

    // Scaled down to an odd size, opaque.
    Require(D3DXCreateTextureFromFileExA(device, path.c_str(), 7, 5, 1, 0, D3DFMT_X8R8G8B8,
                                         D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr,
                                         nullptr, &texture) == D3D_OK);
    ReadAll(texture, 7, 5);
    texture->Release();

    // The lower right part of the file into part of a small surface.
    IDirect3DSurface9* surface = nullptr;
    Require(device->CreateOffscreenPlainSurface(16, 8, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &surface,
                                                nullptr) == D3D_OK);
    const RECT from{static_cast<LONG>(info.Width / 2), static_cast<LONG>(info.Height / 2),
                    static_cast<LONG>(info.Width), static_cast<LONG>(info.Height)};
    const RECT to{3, 1, 16, 8};
    Require(D3DXLoadSurfaceFromFileA(surface, nullptr, &to, path.c_str(), &from, D3DX_DEFAULT,
                                     0xFF000000, nullptr) == D3D_OK);
    surface->Release();
    return 0;
}
