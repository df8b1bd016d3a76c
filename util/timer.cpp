#include "util/timer.h"

#include "util/stopwatch.h"

namespace {

constinit Stopwatch processStopwatch;

} // namespace

float TimerControl(TimerCommand command) {
    return processStopwatch.Run(command);
}
