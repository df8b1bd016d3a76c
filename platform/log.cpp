#include "platform/log.h"

#include <iostream>

std::ostream Log(std::cerr.rdbuf());

namespace {
// Every insertion is flushed at once, so a crash never loses a line already written.
[[maybe_unused]] const bool logIsUnitBuffered = (Log.setf(std::ios::unitbuf), true);
} // namespace
