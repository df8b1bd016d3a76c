#include "graphics/software_opengl.h"

#include <SDL.h>
#include <filesystem>
#include <string_view>

namespace winapi::graphics {
namespace {

constexpr unsigned kGlRenderer = 0x1F01; // GL_RENDERER, the name of the implementation

} // namespace

bool DrawsWithSoftwareOpenGl(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 ||
        !std::string_view(info.name).starts_with("opengl")) {
        return false;
    }
    // The renderer's context is current on this thread once it has been made.
    using GetString = const unsigned char* (*)(unsigned name);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString != nullptr ? getString(kGlRenderer) : nullptr;
    if (name == nullptr) {
        return false;
    }
    const std::string_view implementation(reinterpret_cast<const char*>(name));
    for (std::string_view software : {"llvmpipe", "softpipe", "Software Rasterizer", "SWR"}) {
        if (implementation.find(software) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

bool GraphicsCardVisible() {
    std::error_code error;
    return std::filesystem::exists("/dev/dri", error) ||
           std::filesystem::exists("/dev/nvidia0", error);
}

} // namespace winapi::graphics
