#pragma once
// Where the running program lives, in the platform's form.

#include <mutex>
#include <string>

namespace winapi::module {

// "C:\\..." for the executable (or the path a test hook set); empty if it cannot be read.
std::string ExecutablePath();

// The Linux path the module hooks set in place of the real one; empty when not set.
struct PretendedExecutable {
    std::mutex mutex;
    std::string path;
};
extern PretendedExecutable pretendedExecutable;

} // namespace winapi::module
