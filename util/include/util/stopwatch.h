#pragma once
// The state machine behind TimerControl, one instance per stopwatch.

#include "util/timer.h"

#include <windows.h>

class Stopwatch {
public:
    constexpr Stopwatch() = default;

    float Run(TimerCommand command);

private:
    // The three marks of one time base: counter ticks, or seconds for the fallback clock. A stop
    // time of 0 means the time is not frozen.
    template <typename Time> struct Marks {
        Time stop{};
        Time lastElapsed{};
        Time base{};
    };

    template <typename Time>
    float Apply(Marks<Time>& marks, TimerCommand command, Time now, Time tenth,
                double unitsPerSecond);

    bool m_initialised = false;
    bool m_usesCounter = false;
    LONGLONG m_ticksPerSecond = 0;
    bool m_stopped = true;
    Marks<LONGLONG> m_counter;
    Marks<double> m_clock;
};
