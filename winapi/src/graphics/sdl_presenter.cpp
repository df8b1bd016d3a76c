#include "graphics/letterbox.h"
#include "graphics/presenter.h"
#include "graphics/software_opengl.h"
#include "graphics/test_controls.h"
#include "window/display_mode.h"
#include "window/window_table.h"

#include <SDL.h>

#include <cstdint>

namespace winapi::graphics {
namespace {

// Shows frames in an SDL2 window: through an accelerated renderer where there is a graphics card,
// otherwise straight into the window's own pixels (its shared-memory image on X), which costs one
// copy of the frame where a software renderer's texture would cost two.
class SdlPresenter final : public Presenter {
public:
    SdlPresenter(HWND window, SDL_Window* native, bool fullScreen, SDL_Renderer* renderer,
                 SDL_Texture* texture)
        : window_(window), native_(native), fullScreen_(fullScreen), renderer_(renderer),
          texture_(texture) {
        // The window may be destroyed before the device; the renderer must go first then.
        window::FindWindow(window_)->beforeNativeClose = [this] { LetGo(); };
    }

    ~SdlPresenter() override {
        if (window::Window* record = window::FindWindow(window_)) {
            record->beforeNativeClose = nullptr;
            if (fullScreen_) {
                window::ReleaseFromFullScreenDevice(*record);
            }
        }
        LetGo();
    }

    HRESULT Show(const Image& backBuffer) override {
        if (native_ == nullptr) {
            return D3DERR_DEVICELOST;
        }
        return renderer_ != nullptr ? ShowWithRenderer(backBuffer) : ShowOnSurface(backBuffer);
    }

    bool Usable() const override { return native_ != nullptr; }

private:
    // The place of the picture in a screen of the size the window has now, whatever was asked of
    // it: the user may have resized it, or the desktop may have refused a size.
    static ScreenRect Place(const Image& backBuffer, int screenWidth, int screenHeight) {
        ScreenRect place =
            Letterbox(backBuffer.width, backBuffer.height, screenWidth, screenHeight);
        lastPresentedPlace = hooks::PresentedPlace{screenWidth, screenHeight, place};
        return place;
    }

    static bool HasBars(const ScreenRect& place, int screenWidth, int screenHeight) {
        return place.width != screenWidth || place.height != screenHeight;
    }

    HRESULT ShowWithRenderer(const Image& backBuffer) {
        SDL_UpdateTexture(texture_, nullptr, backBuffer.pixels.data(), backBuffer.width * 4);
        int screenWidth = 0;
        int screenHeight = 0;
        SDL_GetRendererOutputSize(renderer_, &screenWidth, &screenHeight);
        const ScreenRect place = Place(backBuffer, screenWidth, screenHeight);
        if (HasBars(place, screenWidth, screenHeight)) {
            SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
            SDL_RenderClear(renderer_);
        }
        SDL_Rect target{place.x, place.y, place.width, place.height};
        SDL_RenderCopy(renderer_, texture_, nullptr, &target);
        SDL_RenderPresent(renderer_);
        return D3D_OK;
    }

    HRESULT ShowOnSurface(const Image& backBuffer) {
        SDL_Surface* screen = SDL_GetWindowSurface(native_);
        // The back buffer's 32-bit pixels read as X8R8G8B8: a frame replaces the screen whatever
        // its alpha. The surface only borrows them.
        SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<std::uint32_t*>(backBuffer.pixels.data()), backBuffer.width,
            backBuffer.height, 32, backBuffer.width * 4, SDL_PIXELFORMAT_RGB888);
        if (screen == nullptr || frame == nullptr) {
            SDL_FreeSurface(frame);
            return D3DERR_DEVICELOST;
        }
        const ScreenRect place = Place(backBuffer, screen->w, screen->h);
        if (HasBars(place, screen->w, screen->h)) {
            SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
        }
        SDL_Rect target{place.x, place.y, place.width, place.height};
        const bool sameSize = place.width == backBuffer.width && place.height == backBuffer.height;
        // The linear stretch needs both in one format; the window's is that one on X.
        if (sameSize || screen->format->format != frame->format->format) {
            SDL_SetSurfaceBlendMode(frame, SDL_BLENDMODE_NONE);
            SDL_BlitScaled(frame, nullptr, screen, &target);
        } else {
            SDL_SoftStretchLinear(frame, nullptr, screen, &target);
        }
        SDL_FreeSurface(frame);
        SDL_UpdateWindowSurface(native_);
        return D3D_OK;
    }

    void LetGo() {
        if (texture_ != nullptr) {
            SDL_DestroyTexture(texture_);
            texture_ = nullptr;
        }
        if (renderer_ != nullptr) {
            SDL_DestroyRenderer(renderer_);
            renderer_ = nullptr;
        }
        native_ = nullptr;
    }

    HWND window_;
    SDL_Window* native_;
    bool fullScreen_;
    SDL_Renderer* renderer_; // null when frames go straight into the window's pixels
    SDL_Texture* texture_;
};

// An accelerated renderer where a graphics card draws, or null: OpenGL without a graphics card
// spends several milliseconds of processor time a frame on what a copy into the window's
// shared-memory image does in one.
SDL_Renderer* MakeAcceleratedRenderer(SDL_Window* native, bool waitForRetrace) {
    if (!GraphicsCardVisible()) {
        return nullptr;
    }
    Uint32 retrace = waitForRetrace ? SDL_RENDERER_PRESENTVSYNC : 0;
    SDL_Renderer* accelerated = SDL_CreateRenderer(native, -1, SDL_RENDERER_ACCELERATED | retrace);
    if (accelerated != nullptr && DrawsWithSoftwareOpenGl(accelerated)) {
        SDL_DestroyRenderer(accelerated);
        return nullptr;
    }
    return accelerated;
}

} // namespace

std::unique_ptr<Presenter> MakeSdlPresenter(HWND window, const D3DPRESENT_PARAMETERS& parameters) {
    window::Window* record = window::FindWindow(window);
    // One device draws into a window at a time: its presenter is the one to let go before close.
    if (record == nullptr || record->native == nullptr || record->beforeNativeClose) {
        return nullptr;
    }
    SDL_Window* native = record->native;
    int width = static_cast<int>(parameters.BackBufferWidth);
    int height = static_cast<int>(parameters.BackBufferHeight);
    bool waitForRetrace = parameters.PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE;
    SDL_Renderer* renderer = MakeAcceleratedRenderer(native, waitForRetrace);
    SDL_Texture* texture = nullptr;
    if (renderer != nullptr) {
        // X8R8G8B8, as on the surface path.
        texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                    width, height);
        if (texture == nullptr) {
            SDL_DestroyRenderer(renderer);
            return nullptr;
        }
        SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
    } else {
        // The window's pixels must not go through OpenGL either.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    auto presenter =
        std::make_unique<SdlPresenter>(window, native, !parameters.Windowed, renderer, texture);
    // Only now is the window placed: making an OpenGL renderer makes the SDL window anew, at the
    // place it was created at. A full-screen device shows in the program's display mode.
    if (parameters.Windowed) {
        SDL_SetWindowSize(native, width, height);
    } else if (!window::TakeForFullScreenDevice(*record, width, height)) {
        return nullptr;
    }
    if (renderer == nullptr && SDL_GetWindowSurface(native) == nullptr) {
        return nullptr;
    }
    return presenter;
}

} // namespace winapi::graphics
