#pragma once
// What the graphics test hooks have set: injected failures, display availability, frame sink.

#include "winapi/hooks/graphics.h"

namespace winapi::graphics {

bool ShouldFail(hooks::GraphicsCall call);
bool HeadlessDisplayAvailable();
// Hands a presented frame to the sink, if one is set.
void DeliverFrame(const hooks::Frame& frame);

} // namespace winapi::graphics
