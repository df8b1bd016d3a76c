// The program's entry: reads the program's own options, runs the program's WinMain as the
// platform would start it, then closes what is left of the display.

#include "program_options.h"
#include "quillerby_version.h"
#include "window/display.h"

#include <cstdio>
#include <string>
#include <windows.h>

namespace {

constexpr int kUsage = 2;

// The command line for WinMain, arguments with blanks in double quotes.
std::string CommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) {
            line += ' ';
        }
        bool quote = argument.empty() || argument.find_first_of(" \t") != std::string::npos;
        line += quote ? '"' + argument + '"' : argument;
    }
    return line;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    auto parsed = winapi::entry::ParseProgramOptions(arguments);
    if (const auto* problem = std::get_if<std::string>(&parsed)) {
        std::fprintf(stderr, "quillerby: %s\n%s", problem->c_str(), winapi::entry::kProgramUsage);
        return kUsage;
    }
    auto& options = std::get<winapi::entry::ProgramOptions>(parsed);
    if (options.help) {
        std::fputs(winapi::entry::kProgramUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("quillerby %s\n", kQuillerbyVersion);
        return 0;
    }
    std::string commandLine = CommandLine(options.passedOn);
    int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
    winapi::window::ShutDownDisplay();
    return exitCode;
}
