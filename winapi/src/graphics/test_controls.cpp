#include "graphics/test_controls.h"

#include "graphics/capture.h"

#include <set>

namespace winapi::graphics {
namespace {

std::set<hooks::GraphicsCall> failing;
bool displayAvailable = true;
std::function<void(const hooks::Frame&)> frameSink;

} // namespace

bool ShouldFail(hooks::GraphicsCall call) {
    return failing.contains(call);
}

bool HeadlessDisplayAvailable() {
    return displayAvailable;
}

void DeliverFrame(const hooks::Frame& frame) {
    if (frameSink) {
        frameSink(frame);
    }
}

} // namespace winapi::graphics

namespace winapi::hooks {

void SetFrameSink(std::function<void(const Frame&)> sink) {
    graphics::frameSink = std::move(sink);
}

void SetDisplayAvailable(bool available) {
    graphics::displayAvailable = available;
}

void SetGraphicsFailure(GraphicsCall call, bool fail) {
    if (fail) {
        graphics::failing.insert(call);
    } else {
        graphics::failing.erase(call);
    }
}

void ResetGraphics() {
    graphics::failing.clear();
    graphics::displayAvailable = true;
    graphics::frameSink = nullptr;
    graphics::ForgetCaptureRequests();
}

} // namespace winapi::hooks
