#include "graphics/resources.h"

namespace winapi::graphics {
namespace {

D3DSURFACE_DESC Describe(const Image& image, D3DRESOURCETYPE type, D3DPOOL pool, DWORD usage) {
    return D3DSURFACE_DESC{FormatOf(image),
                           type,
                           usage,
                           pool,
                           D3DMULTISAMPLE_NONE,
                           0,
                           static_cast<UINT>(image.width),
                           static_cast<UINT>(image.height)};
}

HRESULT Lock(Image& image, bool& locked, D3DLOCKED_RECT* result, const RECT* rect) {
    if (result == nullptr || locked) {
        return D3DERR_INVALIDCALL;
    }
    PixelRect area = WholeImage(image);
    if (rect != nullptr) {
        area = {rect->left, rect->top, rect->right, rect->bottom};
        if (area.Empty() || area.left < 0 || area.top < 0 || area.right > image.width ||
            area.bottom > image.height) {
            return D3DERR_INVALIDCALL;
        }
    }
    locked = true;
    result->Pitch = image.width * 4;
    result->pBits = &image.At(area.left, area.top);
    return D3D_OK;
}

HRESULT Unlock(bool& locked) {
    if (!locked) {
        return D3DERR_INVALIDCALL;
    }
    locked = false;
    return D3D_OK;
}

} // namespace

D3DFORMAT FormatOf(const Image& image) {
    return image.opaque ? D3DFMT_X8R8G8B8 : D3DFMT_A8R8G8B8;
}

bool IsKeptFormat(D3DFORMAT format) {
    return format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8;
}

Surface::Surface(std::shared_ptr<Image> image, D3DPOOL pool, DWORD usage)
    : image_(std::move(image)), pool_(pool), usage_(usage) {}

HRESULT Surface::GetDesc(D3DSURFACE_DESC* description) {
    if (description == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *description = Describe(*image_, D3DRTYPE_SURFACE, pool_, usage_);
    return D3D_OK;
}

HRESULT Surface::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD) {
    return Lock(*image_, locked_, locked, rect);
}

HRESULT Surface::UnlockRect() {
    return Unlock(locked_);
}

Texture::Texture(std::shared_ptr<Image> image, D3DPOOL pool, DWORD usage)
    : image_(std::move(image)), pool_(pool), usage_(usage) {}

HRESULT Texture::GetLevelDesc(UINT level, D3DSURFACE_DESC* description) {
    if (level != 0 || description == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *description = Describe(*image_, D3DRTYPE_SURFACE, pool_, usage_);
    return D3D_OK;
}

HRESULT Texture::GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) {
    if (level != 0 || surface == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *surface = new Surface(image_, pool_, usage_);
    return D3D_OK;
}

HRESULT Texture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD) {
    if (level != 0) {
        return D3DERR_INVALIDCALL;
    }
    return Lock(*image_, locked_, locked, rect);
}

HRESULT Texture::UnlockRect(UINT level) {
    if (level != 0) {
        return D3DERR_INVALIDCALL;
    }
    return Unlock(locked_);
}

} // namespace winapi::graphics
