#include "graphics/capture.h"

#include "graphics/image_file.h"

#include <cstdio>
#include <vector>

namespace winapi::graphics {
namespace {

std::vector<std::string> requested;

} // namespace

void RequestCapture(std::string fileName) {
    requested.push_back(std::move(fileName));
}

void SaveRequestedCaptures(const Image& frame) {
    for (const auto& name : requested) {
        std::string error;
        if (!SavePng(frame, name, error)) {
            std::fprintf(stderr, "winapi: could not save the frame as %s: %s\n", name.c_str(),
                         error.c_str());
        }
    }
    requested.clear();
}

void ForgetCaptureRequests() {
    requested.clear();
}

} // namespace winapi::graphics
