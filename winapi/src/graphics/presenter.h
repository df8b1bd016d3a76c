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

// Every presenter backend is made by a factory of this shape: the device's window and parameters
// in, the presenter out, or null when this backend cannot show frames there.
using PresenterFactory = std::unique_ptr<Presenter> (*)(HWND window,
                                                        const D3DPRESENT_PARAMETERS& parameters);

// Hands each frame to the graphics frame sink (winapi/hooks/graphics.h). Null while the hooks say
// there is no display.
std::unique_ptr<Presenter> MakeHeadlessPresenter(HWND window,
                                                 const D3DPRESENT_PARAMETERS& parameters);

// Shows a full-screen device's window in the program's display mode (window/display_mode.h), a
// windowed device's at the size of the back buffer, and draws into it, letterboxed, with an
// accelerated SDL2 renderer, or the software one where there is none. Null when the window has no
// SDL2 window or no renderer or texture can be made.
std::unique_ptr<Presenter> MakeSdlPresenter(HWND window, const D3DPRESENT_PARAMETERS& parameters);

} // namespace winapi::graphics
