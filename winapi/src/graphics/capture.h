#pragma once
// Frames to be saved as PNG files: a scripted run asks for the next presented frame by name.

#include "graphics/image.h"

#include <string>

namespace winapi::graphics {

void RequestCapture(std::string fileName);
// Saves the frame under every name asked for since the last frame; a file that cannot be
// written is reported on standard error.
void SaveRequestedCaptures(const Image& frame);
void ForgetCaptureRequests();

} // namespace winapi::graphics
