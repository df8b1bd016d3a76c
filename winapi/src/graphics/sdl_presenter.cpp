#include "graphics/letterbox.h"
#include "graphics/presenter.h"
#include "graphics/software_opengl.h"
#include "window/window_table.h"

#include <SDL.h>

namespace winapi::graphics {
namespace {

class SdlPresenter final : public Presenter {
public:
    SdlPresenter(HWND window, SDL_Window* native, SDL_Renderer* renderer, SDL_Texture* texture)
        : window_(window), native_(native), renderer_(renderer), texture_(texture) {
        // The window may be destroyed before the device; the renderer must go first then.
        window::FindWindow(window_)->beforeNativeClose = [this] { LetGo(); };
    }

    ~SdlPresenter() override {
        if (window::Window* record = window::FindWindow(window_)) {
            record->beforeNativeClose = nullptr;
        }
        if (native_ != nullptr) {
            SDL_SetWindowFullscreen(native_, 0);
        }
        LetGo();
    }

    HRESULT Show(const Image& backBuffer) override {
        if (renderer_ == nullptr) {
            return D3DERR_DEVICELOST;
        }
        SDL_UpdateTexture(texture_, nullptr, backBuffer.pixels.data(), backBuffer.width * 4);
        int screenWidth = 0;
        int screenHeight = 0;
        SDL_GetRendererOutputSize(renderer_, &screenWidth, &screenHeight);
        ScreenRect place =
            Letterbox(backBuffer.width, backBuffer.height, screenWidth, screenHeight);
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
        native_ = nullptr;
    }

    HWND window_;
    SDL_Window* native_;
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
    if (parameters.Windowed) {
        SDL_SetWindowSize(native, width, height);
    } else if (SDL_SetWindowFullscreen(native, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        return nullptr;
    }
    bool waitForRetrace = parameters.PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE;
    SDL_Renderer* renderer = MakeRenderer(native, waitForRetrace);
    if (renderer == nullptr) {
        SDL_SetWindowFullscreen(native, 0);
        return nullptr;
    }
    // The back buffer's 32-bit pixels read as X8R8G8B8: a presented frame replaces the screen
    // whatever its alpha, so it is copied, not blended, and where the window's pixels have that
    // format too (SDL2's software renderer on X) it goes to the screen without a conversion.
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888,
                                             SDL_TEXTUREACCESS_STREAMING, width, height);
    if (texture == nullptr) {
        SDL_DestroyRenderer(renderer);
        SDL_SetWindowFullscreen(native, 0);
        return nullptr;
    }
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
    return std::make_unique<SdlPresenter>(window, native, renderer, texture);
}

} // namespace winapi::graphics
