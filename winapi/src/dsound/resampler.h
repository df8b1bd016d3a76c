#pragma once
// Reads a voice's sound memory at the voice's own frequency and produces frames at the output
// rate. At or below the output rate it interpolates linearly between neighbouring frames; above
// it, it low-passes at the output's band edge first, so that nothing the output cannot carry folds
// back as an alias. Positions are source frames in 32.32 fixed point, so a buffer at the output's
// own rate is copied sample for sample.

#include "dsound/sample_format.h"

#include <cstdint>

namespace winapi::dsound {

struct ResampleSource {
    const BYTE* data = nullptr;
    DWORD frames = 0;
    SampleFormat format;
    bool looping = false;
};

struct ResampleResult {
    DWORD written = 0;  // fewer than asked only when a one-shot sound reached its end
    DWORD wraps = 0;    // times a looping sound went round from its end to its start
    bool ended = false; // a one-shot sound reached its end
};

// The position increment per output frame for a voice at `frequency` on an output at `outputRate`.
std::uint64_t ResampleStep(DWORD frequency, DWORD outputRate);

// Writes up to `count` frames (format.channels samples each) into `out`, starting at *position
// and advancing it by `step` per frame. A one-shot sound stops at its end, where the last frame
// fades towards silence; a looping one interpolates across the seam into its first frame.
ResampleResult Resample(const ResampleSource& source, std::uint64_t* position, std::uint64_t step,
                        float* out, DWORD count);

} // namespace winapi::dsound
