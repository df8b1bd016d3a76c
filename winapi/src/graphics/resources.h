#pragma once
// Surfaces and textures: reference-counted views of images in memory. A surface of a texture and
// the texture share their pixels, and so do the back buffer and its device, so each lives as long
// as anything refers to it.

#include "graphics/image.h"
#include "graphics/ref_counted.h"

#include <d3d9.h>
#include <memory>

namespace winapi::graphics {

// A8R8G8B8 for images with alpha, X8R8G8B8 for opaque ones.
D3DFORMAT FormatOf(const Image& image);
// Whether the stand-in keeps pixels of this format: X8R8G8B8 (opaque) or A8R8G8B8.
bool IsKeptFormat(D3DFORMAT format);

class Surface final : public RefCounted<IDirect3DSurface9> {
public:
    Surface(std::shared_ptr<Image> image, D3DPOOL pool, DWORD usage);

    HRESULT GetDesc(D3DSURFACE_DESC* description) override;
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect() override;

    Image& Pixels() { return *image_; }

private:
    std::shared_ptr<Image> image_;
    D3DPOOL pool_;
    DWORD usage_;
    bool locked_ = false;
};

class Texture final : public RefCounted<IDirect3DTexture9> {
public:
    Texture(std::shared_ptr<Image> image, D3DPOOL pool, DWORD usage);

    DWORD GetLevelCount() override { return 1; }
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* description) override;
    HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;

    const Image& Pixels() const { return *image_; }

private:
    std::shared_ptr<Image> image_;
    D3DPOOL pool_;
    DWORD usage_;
    bool locked_ = false;
};

} // namespace winapi::graphics
