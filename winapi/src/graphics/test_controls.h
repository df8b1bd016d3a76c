#pragma once
// What the graphics test hooks have set: injected failures, display availability, frame sink;
// and what they observe: where the last frame went.

#include "kernel/injected_failures.h"
#include "winapi/hooks/graphics.h"

#include <atomic>
#include <functional>

namespace winapi::graphics {

inline constexpr std::size_t kGraphicsCalls =
    static_cast<std::size_t>(hooks::GraphicsCall::LoadSurfaceFromFile) + 1;
extern InjectedFailures<hooks::GraphicsCall, HRESULT, kGraphicsCalls> injectedFailures;

// The result this call is to fail with, or D3D_OK.
inline HRESULT InjectedFailure(hooks::GraphicsCall call) {
    return injectedFailures.For(call);
}

// Whether a headless device can be made.
extern std::atomic<bool> headlessDisplayAvailable;

// Presented frames go here in headless runs (the render thread's only).
extern std::function<void(const hooks::Frame&)> frameSink;

// Where the last frame shown in an SDL2 window went.
extern hooks::PresentedPlace lastPresentedPlace;

// Hands a presented frame to the sink, if one is set.
void DeliverFrame(const hooks::Frame& frame);

} // namespace winapi::graphics
