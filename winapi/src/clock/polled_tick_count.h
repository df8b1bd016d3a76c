#pragma once
// The tick count as a poll: code that waits for it to move (a frame's pacing) reads it again and
// again; the third read within the same millisecond on a thread sleeps until the next millisecond
// begins, so that such a wait costs no processor time and still ends on time.

#include <cstdint>

namespace winapi::clock {

// Whole milliseconds of NowNanoseconds(), after that sleep when the read is a repeat. On the fake
// clock the sleep is a jump of the fake clock to the next millisecond.
std::uint64_t PolledMilliseconds();

} // namespace winapi::clock
