// The program's entry: runs the program's WinMain as the platform would start it, then closes
// what is left of the display.

#include "window/display.h"
#include "window/display_mode.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <windows.h>

namespace {

// The command line after the program name, arguments with blanks in double quotes.
std::string CommandLineAfterProgram(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
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
    if (std::find(argv + 1, argv + argc, std::string_view("--windowed")) != argv + argc) {
        winapi::window::StartWindowed();
    }
    std::string commandLine = CommandLineAfterProgram(argc, argv);
    int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
    winapi::window::ShutDownDisplay();
    return exitCode;
}
