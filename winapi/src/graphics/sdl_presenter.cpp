#include "graphics/letterbox.h"
#include "graphics/presenter.h"
#include "graphics/software_opengl.h"
#include "graphics/test_controls.h"
#include "window/display_mode.h"
#include "window/window_table.h"

#include <SDL.h>

namespace winapi::graphics {
namespace {

class SdlPresenter final : public Presenter {
public:
    SdlPresenter(HWND window, bool fullScreen, SDL_Renderer* renderer, SDL_Texture* texture)
        : window_(window), fullScreen_(fullScreen), renderer_(renderer), texture_(texture) {
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
        if (renderer_ == nullptr) {
            return D3DERR_DEVICELOST;
        }
        SDL_UpdateTexture(texture_, nullptr, backBuffer.pixels.data(), backBuffer.width * 4);
        // The size the window has now, whatever was asked of it: the user may have resized it, or
        // the desktop may have refused a size.
        int screenWidth = 0;
        int screenHeight = 0;
        SDL_GetRendererOutputSize(renderer_, &screenWidth, &screenHeight);
        ScreenRect place =
            Letterbox(backBuffer.width, backBuffer.height, screenWidth, screenHeight);
        lastPresentedPlace = hooks::PresentedPlace{screenWidth, screenHeight, place};
        if (place.width != screenWidth || place.height != screenHeight) {
            SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255); // the bars beside the picture
            SDL_RenderClear(renderer_);
        }
        SDL_Rect target{place.x, place.y, place.width, place.height};
        SDL_RenderCopy(renderer_, texture_, nullptr, &target);
        SDL_RenderPresent(renderer_);
        return D3D_OK;
    }

    bool Usable() const override { return renderer_ != nullptr; }

private:
    void LetGo() {
        if (texture_ != nullptr) {
            SDL_DestroyTexture(texture_);
            texture_ = nullptr;
        }
        if (renderer_ != nullptr) {
            SDL_DestroyRenderer(renderer_);
            renderer_ = nullptr;
        }
    }

    HWND window_;
    bool fullScreen_;
    SDL_Renderer* renderer_;
    SDL_Texture* texture_;
};

SDL_Renderer* MakeRenderer(SDL_Window* native, bool waitForRetrace) {
    Uint32 retrace = waitForRetrace ? SDL_RENDERER_PRESENTVSYNC : 0;
    if (GraphicsCardVisible()) {
        SDL_Renderer* accelerated =
            SDL_CreateRenderer(native, -1, SDL_RENDERER_ACCELERATED | retrace);
        if (accelerated != nullptr && !DrawsWithSoftwareOpenGl(accelerated)) {
            return accelerated;
        }
        if (accelerated != nullptr) {
            SDL_DestroyRenderer(accelerated);
        }
    }
    // OpenGL without a graphics card spends several milliseconds of processor time a frame on what
    // SDL2's software renderer does in one, writing straight into the window's shared-memory image
    // (so the window's pixels must not go through OpenGL either) rather than into a texture that
    // OpenGL draws again.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return SDL_CreateRenderer(native, -1, SDL_RENDERER_SOFTWARE);
}

} // namespace

std::unique_ptr<Presenter> MakeSdlPresenter(HWND window, const D3DPRESENT_PARAMETERS& parameters) {
    window::Window* record = window::FindWindow(window);
    if (record == nullptr || record->native == nullptr) {
        return nullptr;
    }
    SDL_Window* native = record->native;
    int width = static_cast<int>(parameters.BackBufferWidth);
    int height = static_cast<int>(parameters.BackBufferHeight);
    bool waitForRetrace = parameters.PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE;
    SDL_Renderer* renderer = MakeRenderer(native, waitForRetrace);
    if (renderer == nullptr) {
        return nullptr;
    }
    // The back buffer's 32-bit pixels read as X8R8G8B8: a presented frame replaces the screen
    // whatever its alpha, so it is copied, not blended, and where the window's pixels have that
    // format too (SDL2's software renderer on X) it goes to the screen without a conversion.
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888,
                                             SDL_TEXTUREACCESS_STREAMING, width, height);
    if (texture == nullptr) {
        SDL_DestroyRenderer(renderer);
        return nullptr;
    }
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
    // Only now is the window placed: making an OpenGL renderer makes the SDL window anew, at the
    // place it was created at. A full-screen device shows in the program's display mode.
    bool fullScreen = !parameters.Windowed;
    if (!fullScreen) {
        SDL_SetWindowSize(native, width, height);
    } else if (!window::TakeForFullScreenDevice(*record, width, height)) {
        SDL_DestroyTexture(texture);
        SDL_DestroyRenderer(renderer);
        return nullptr;
    }
    return std::make_unique<SdlPresenter>(window, fullScreen, renderer, texture);
}

} // namespace winapi::graphics
