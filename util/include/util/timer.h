#pragma once
// The process-wide stopwatch, driven by commands. It measures seconds on the high-resolution
// counter, or on the millisecond clock when the machine has no counter (decided at the first
// call). It starts stopped at 0; drive it from one thread.

#include <cstdint>

enum class TimerCommand : std::int32_t {
    Restart = 0,         // zero the stopwatch and run it
    Resume = 1,          // run again after Pause, keeping the time measured so far
    Pause = 2,           // freeze the time seen by RunningSeconds and ElapsedSeconds
    StepTenth = 3,       // while paused, move the frozen time a tenth of a second on
    AbsoluteSeconds = 4, // the live clock, in seconds
    RunningSeconds = 5,  // seconds measured since Restart, without the paused spans
    ElapsedSeconds = 6,  // seconds since the previous ElapsedSeconds (or Restart, Resume, Pause)
};

// The seconds asked for; 0 for the commands that only change state; -1 for any other value.
float TimerControl(TimerCommand command);
