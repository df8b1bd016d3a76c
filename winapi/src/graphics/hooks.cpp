#include "winapi/hooks/graphics.h"

#include "graphics/capture.h"
#include "graphics/letterbox.h"
#include "graphics/test_controls.h"

#include <d3d9.h>

namespace winapi::hooks {

void SetFrameSink(std::function<void(const Frame&)> sink) {
    graphics::frameSink = std::move(sink);
}

void SetDisplayAvailable(bool available) {
    graphics::headlessDisplayAvailable = available;
}

void FailGraphicsCall(GraphicsCall call, HRESULT result) {
    graphics::injectedFailures.Set(call, FAILED(result) ? result : D3D_OK);
}

void ResetGraphicsHooks() {
    graphics::injectedFailures.Clear();
    graphics::headlessDisplayAvailable = true;
    SetFrameSink(nullptr);
    graphics::ForgetCaptureRequests();
    graphics::lastPresentedPlace = {};
}

ScreenRect LetterboxRect(int bufferWidth, int bufferHeight, int screenWidth, int screenHeight) {
    return graphics::Letterbox(bufferWidth, bufferHeight, screenWidth, screenHeight);
}

PresentedPlace LastPresentedPlace() {
    return graphics::lastPresentedPlace;
}

} // namespace winapi::hooks
