// The Direct3D 9 object and its one operation that matters, making the device.

#include "graphics/device.h"
#include "graphics/test_controls.h"
#include "profile/backends.h"
#include "window/display.h"
#include "window/window_table.h"

#include <algorithm>
#include <windows.h>

namespace winapi::graphics {
namespace {

bool IsDepthFormat(D3DFORMAT format) {
    return format == D3DFMT_D16 || format == D3DFMT_D24S8 || format == D3DFMT_D24X8;
}

// Checks the parameters and settles what they leave open, as the platform writes it back.
HRESULT SettleParameters(D3DPRESENT_PARAMETERS& parameters, HWND window) {
    if (parameters.Windowed) {
        const window::Window* record = window::FindWindow(window);
        if (parameters.BackBufferWidth == 0) {
            parameters.BackBufferWidth = static_cast<UINT>(std::max(record->width, 1));
        }
        if (parameters.BackBufferHeight == 0) {
            parameters.BackBufferHeight = static_cast<UINT>(std::max(record->height, 1));
        }
        if (parameters.BackBufferFormat == D3DFMT_UNKNOWN) {
            parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        }
    }
    if (parameters.BackBufferCount == 0) {
        parameters.BackBufferCount = 1;
    }
    if (parameters.BackBufferWidth == 0 || parameters.BackBufferHeight == 0 ||
        parameters.BackBufferCount > 1 || parameters.SwapEffect < D3DSWAPEFFECT_DISCARD ||
        parameters.SwapEffect > D3DSWAPEFFECT_COPY ||
        (parameters.EnableAutoDepthStencil && !IsDepthFormat(parameters.AutoDepthStencilFormat))) {
        return D3DERR_INVALIDCALL;
    }
    if (!IsKeptFormat(parameters.BackBufferFormat) ||
        parameters.MultiSampleType != D3DMULTISAMPLE_NONE ||
        parameters.BackBufferWidth > kMaxImageSide || parameters.BackBufferHeight > kMaxImageSide) {
        return D3DERR_NOTAVAILABLE;
    }
    return D3D_OK;
}

class Direct3D final : public RefCounted<IDirect3D9> {
public:
    UINT GetAdapterCount() override { return 1; }

    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow, DWORD,
                         D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) override {
        if (device == nullptr || parameters == nullptr || adapter != D3DADAPTER_DEFAULT) {
            return D3DERR_INVALIDCALL;
        }
        if (deviceType != D3DDEVTYPE_HAL && deviceType != D3DDEVTYPE_REF) {
            return D3DERR_NOTAVAILABLE;
        }
        HWND window =
            parameters->hDeviceWindow != nullptr ? parameters->hDeviceWindow : focusWindow;
        if (!IsWindow(window)) {
            return D3DERR_INVALIDCALL;
        }
        if (HRESULT settled = SettleParameters(*parameters, window); FAILED(settled)) {
            return settled;
        }
        if (const HRESULT failure = InjectedFailure(hooks::GraphicsCall::CreateDevice)) {
            return failure;
        }
        std::unique_ptr<Presenter> presenter = profile::Backends().presenter(window, *parameters);
        if (!presenter) {
            return D3DERR_NOTAVAILABLE;
        }
        *device = new Device(*parameters, std::move(presenter));
        return D3D_OK;
    }
};

} // namespace
} // namespace winapi::graphics

IDirect3D9* WINAPI Direct3DCreate9(UINT sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION ||
        FAILED(winapi::graphics::InjectedFailure(winapi::hooks::GraphicsCall::Direct3DCreate9))) {
        return nullptr;
    }
    return new winapi::graphics::Direct3D();
}
