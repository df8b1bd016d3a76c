#include "util/stopwatch.h"

#include <mmsystem.h>

namespace {

bool UsesFrozenTime(TimerCommand command) {
    return command != TimerCommand::Resume && command != TimerCommand::AbsoluteSeconds;
}

} // namespace

float Stopwatch::Run(TimerCommand command) {
    if (!m_initialised) {
        m_initialised = true;
        LARGE_INTEGER frequency{};
        if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0) {
            m_usesCounter = true;
            m_ticksPerSecond = frequency.QuadPart;
        }
    }
    if (m_usesCounter) {
        LONGLONG now = m_counter.stop;
        if (now == 0 || !UsesFrozenTime(command)) {
            LARGE_INTEGER count{};
            QueryPerformanceCounter(&count);
            now = count.QuadPart;
        }
        return Apply(m_counter, command, now, m_ticksPerSecond / 10,
                     static_cast<double>(m_ticksPerSecond));
    }
    double now = m_clock.stop;
    if (now == 0.0 || !UsesFrozenTime(command)) {
        now = timeGetTime() * 0.001;
    }
    // A tenth as the single-precision 0.1 that the counter's callers see, widened.
    return Apply(m_clock, command, now, static_cast<double>(0.1f), 1.0);
}

template <typename Time>
float Stopwatch::Apply(Marks<Time>& marks, TimerCommand command, Time now, Time tenth,
                       double unitsPerSecond) {
    switch (command) {
    case TimerCommand::ElapsedSeconds: {
        const double seconds = static_cast<double>(now - marks.lastElapsed) / unitsPerSecond;
        marks.lastElapsed = now;
        return static_cast<float>(seconds);
    }
    case TimerCommand::RunningSeconds:
        return static_cast<float>(static_cast<double>(now - marks.base) / unitsPerSecond);
    case TimerCommand::Restart:
        marks.base = now;
        marks.lastElapsed = now;
        marks.stop = 0;
        m_stopped = false;
        return 0.0f;
    case TimerCommand::Resume:
        if (m_stopped) {
            marks.base += now - marks.stop;
        }
        marks.stop = 0;
        marks.lastElapsed = now;
        m_stopped = false;
        return 0.0f;
    case TimerCommand::Pause:
        if (!m_stopped) {
            marks.stop = now;
            marks.lastElapsed = now;
            m_stopped = true;
        }
        return 0.0f;
    case TimerCommand::StepTenth:
        // Only a stopped watch has a frozen time to step. On a running one the step would freeze
        // the time at a tenth of a second after the clock's origin, so it does nothing there.
        if (m_stopped) {
            marks.stop += tenth;
        }
        return 0.0f;
    case TimerCommand::AbsoluteSeconds:
        return static_cast<float>(static_cast<double>(now) / unitsPerSecond);
    }
    return -1.0f;
}
