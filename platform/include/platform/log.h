#pragma once
// Log: the system's one text output stream. It writes to standard error, unit-buffered, until the
// shell attaches Log.txt by replacing its buffer.

#include <ostream>

extern std::ostream Log;
