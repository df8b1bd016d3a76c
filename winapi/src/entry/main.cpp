// The program's entry: runs the program's WinMain as the platform would start it, then closes
// what is left of the display.

#include "window/display.h"

#include <string>
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
    std::string commandLine = CommandLineAfterProgram(argc, argv);
    int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
    winapi::window::ShutDownDisplay();
    return exitCode;
}
