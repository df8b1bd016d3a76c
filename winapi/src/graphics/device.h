#pragma once
// The Direct3D 9 device: a back buffer in memory, cleared and drawn into in software, and shown by
// its presenter.

#include "graphics/image.h"
#include "graphics/presenter.h"
#include "graphics/ref_counted.h"
#include "graphics/resources.h"

#include <d3d9.h>
#include <memory>

namespace winapi::graphics {

class Device final : public RefCounted<IDirect3DDevice9> {
public:
    Device(const D3DPRESENT_PARAMETERS& parameters, std::unique_ptr<Presenter> presenter);
    ~Device() override;

    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                  DWORD stencil) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                    const RGNDATA* dirtyRegion) override;
    HRESULT GetBackBuffer(UINT swapChain, UINT backBuffer, D3DBACKBUFFER_TYPE type,
                          IDirect3DSurface9** surface) override;
    HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                        IDirect3DSurface9** surface, HANDLE* sharedHandle) override;
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* sharedHandle) override;
    HRESULT TestCooperativeLevel() override;

    bool InScene() const { return inScene_; }
    Image& BackBufferPixels() { return *backBuffer_; }

private:
    D3DPRESENT_PARAMETERS parameters_;
    std::unique_ptr<Presenter> presenter_;
    std::shared_ptr<Image> backBuffer_;
    Surface* backBufferSurface_;
    bool inScene_ = false;
};

} // namespace winapi::graphics
