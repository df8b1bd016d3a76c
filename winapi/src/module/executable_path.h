#pragma once
// Where the running program lives, in the platform's form.

#include <string>

namespace winapi::module {

// "C:\\..." for the executable (or the path a test hook set); empty if it cannot be read.
std::string ExecutablePath();

} // namespace winapi::module
