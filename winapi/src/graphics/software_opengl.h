#pragma once
// Whether an SDL2 renderer draws through OpenGL done in software (Mesa's llvmpipe and the like, as
// on a virtual display without a graphics card).

struct SDL_Renderer;

namespace winapi::graphics {

bool DrawsWithSoftwareOpenGl(SDL_Renderer* renderer);

} // namespace winapi::graphics
