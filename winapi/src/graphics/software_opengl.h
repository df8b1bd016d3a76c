#pragma once
// Whether an SDL2 renderer draws through OpenGL done in software (Mesa's llvmpipe and the like, as
// on a virtual display without a graphics card).

struct SDL_Renderer;

namespace winapi::graphics {

bool DrawsWithSoftwareOpenGl(SDL_Renderer* renderer);

// Whether this machine shows a graphics card's device node (/dev/dri, /dev/nvidia0). Without one
// every OpenGL is software, and finding that out by making a context costs a quarter of a second.
bool GraphicsCardVisible();

} // namespace winapi::graphics
