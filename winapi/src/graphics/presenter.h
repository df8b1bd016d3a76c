#pragma once
// Where a device's presented back buffer goes: an SDL2 window, or a test hook in headless runs.

#include "graphics/image.h"

#include <d3d9.h>
#include <memory>

namespace winapi::graphics {

class Presenter {
public:
    virtual ~Presenter() = default;
    // Called by Present with the whole back buffer.
    virtual HRESULT Show(const Image& backBuffer) = 0;
    // False once the window that showed the frames has gone.
    virtual bool Usable() const = 0;
};

// Hands each frame to the graphics frame sink (winapi/hooks/graphics.h).
std::unique_ptr<Presenter> MakeHeadlessPresenter();

// Makes the window full-screen-desktop (or, windowed, the size of the back buffer) and draws into
// it with an accelerated SDL2 renderer, or the software one where there is none. Fails with
// D3DERR_NOTAVAILABLE when the window has no SDL2 window or no renderer can be made.
HRESULT MakeSdlPresenter(HWND window, const D3DPRESENT_PARAMETERS& parameters,
                         std::unique_ptr<Presenter>& presenter);

} // namespace winapi::graphics
