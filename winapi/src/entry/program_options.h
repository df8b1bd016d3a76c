#pragma once
// The game program's own options, read from its arguments before WinMain runs. What is not an
// option of ours is kept, in order, for WinMain's command line; "--" ends the options.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace winapi::entry {

struct ProgramOptions {
    bool help = false;
    bool version = false;
    bool windowed = false;
    std::optional<std::string> recordFile; // --record FILE, as given
    std::vector<std::string> passedOn;     // for WinMain's command line
};

// The options, or why the arguments (those after the program's name) are refused.
std::variant<ProgramOptions, std::string>
ParseProgramOptions(std::span<const std::string_view> arguments);

// The --help text.
extern const char kProgramUsage[];

} // namespace winapi::entry
