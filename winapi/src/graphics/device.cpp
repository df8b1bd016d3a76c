#include "graphics/device.h"

#include "graphics/capture.h"
#include "graphics/pixel_ops.h"
#include "graphics/test_controls.h"

namespace winapi::graphics {
namespace {

bool ValidSize(UINT width, UINT height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
}

} // namespace

Device::Device(const D3DPRESENT_PARAMETERS& parameters, std::unique_ptr<Presenter> presenter)
    : parameters_(parameters), presenter_(std::move(presenter)),
      backBuffer_(std::make_shared<Image>(static_cast<int>(parameters.BackBufferWidth),
                                          static_cast<int>(parameters.BackBufferHeight),
                                          parameters.BackBufferFormat != D3DFMT_A8R8G8B8)),
      backBufferSurface_(new Surface(backBuffer_, D3DPOOL_DEFAULT, D3DUSAGE_RENDERTARGET)) {}

Device::~Device() {
    backBufferSurface_->Release();
}

HRESULT Device::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                      DWORD) {
    constexpr DWORD known = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
    bool depthOrStencil = (flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) != 0;
    if (flags == 0 || (flags & ~known) != 0 || (count > 0 && rects == nullptr) ||
        (depthOrStencil && !parameters_.EnableAutoDepthStencil) || !(z >= 0.0f && z <= 1.0f)) {
        return D3DERR_INVALIDCALL;
    }
    if ((flags & D3DCLEAR_TARGET) == 0) {
        return D3D_OK; // there is no depth or stencil data to clear
    }
    if (count == 0 || rects == nullptr) {
        Fill(*backBuffer_, WholeImage(*backBuffer_), color);
        return D3D_OK;
    }
    for (DWORD i = 0; i < count; ++i) {
        Fill(*backBuffer_, PixelRect{rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2}, color);
    }
    return D3D_OK;
}

HRESULT Device::BeginScene() {
    if (inScene_) {
        return D3DERR_INVALIDCALL;
    }
    inScene_ = true;
    return D3D_OK;
}

HRESULT Device::EndScene() {
    if (!inScene_) {
        return D3DERR_INVALIDCALL;
    }
    inScene_ = false;
    return D3D_OK;
}

HRESULT Device::Present(const RECT*, const RECT*, HWND, const RGNDATA*) {
    SaveRequestedCaptures(*backBuffer_);
    return presenter_->Show(*backBuffer_);
}

HRESULT Device::GetBackBuffer(UINT swapChain, UINT backBuffer, D3DBACKBUFFER_TYPE type,
                              IDirect3DSurface9** surface) {
    if (surface == nullptr || swapChain != 0 || backBuffer != 0 ||
        type != D3DBACKBUFFER_TYPE_MONO) {
        return D3DERR_INVALIDCALL;
    }
    backBufferSurface_->AddRef();
    *surface = backBufferSurface_;
    return D3D_OK;
}

HRESULT Device::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                            IDirect3DSurface9** surface, HANDLE* sharedHandle) {
    if (surface == nullptr || sharedHandle != nullptr || !ValidSize(width, height) ||
        !IsKeptFormat(format)) {
        return D3DERR_INVALIDCALL;
    }
    if (const HRESULT failure = InjectedFailure(hooks::GraphicsCall::CreateOffscreenSurface)) {
        return failure;
    }
    auto image = std::make_shared<Image>(static_cast<int>(width), static_cast<int>(height),
                                         format == D3DFMT_X8R8G8B8);
    *surface = new Surface(std::move(image), pool, 0);
    return D3D_OK;
}

HRESULT Device::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                              D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* sharedHandle) {
    if (texture == nullptr || sharedHandle != nullptr || !ValidSize(width, height) ||
        !IsKeptFormat(format)) {
        return D3DERR_INVALIDCALL;
    }
    if (levels > 1) {
        return D3DERR_NOTAVAILABLE; // textures have one level here
    }
    auto image = std::make_shared<Image>(static_cast<int>(width), static_cast<int>(height),
                                         format == D3DFMT_X8R8G8B8);
    *texture = new Texture(std::move(image), pool, usage);
    return D3D_OK;
}

HRESULT Device::TestCooperativeLevel() {
    return presenter_->Usable() ? D3D_OK : D3DERR_DEVICELOST;
}

} // namespace winapi::graphics
