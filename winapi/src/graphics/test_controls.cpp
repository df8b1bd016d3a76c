#include "graphics/test_controls.h"

namespace winapi::graphics {

InjectedFailures<hooks::GraphicsCall, HRESULT, kGraphicsCalls> injectedFailures;
std::atomic<bool> headlessDisplayAvailable{true};
std::function<void(const hooks::Frame&)> frameSink;
hooks::PresentedPlace lastPresentedPlace;

void DeliverFrame(const hooks::Frame& frame) {
    if (frameSink) {
        frameSink(frame);
    }
}

} // namespace winapi::graphics
