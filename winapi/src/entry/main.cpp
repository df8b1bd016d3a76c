// The program's entry: runs the program's WinMain as the platform would start it, then closes
// what is left of the display.

#include "input/recorder.h"
#include "window/display.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
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

constexpr int kUsageError = 2;

// `--record FILE`: the keys of this ride go to FILE. False, after a message, when FILE is missing
// or cannot be written.
bool StartRecording(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) != "--record") {
            continue;
        }
        if (i + 1 == argc) {
            std::fprintf(stderr, "%s: --record needs a file name\n", argv[0]);
            return false;
        }
        if (!winapi::input::RecordKeysTo(argv[i + 1])) {
            std::fprintf(stderr, "%s: cannot write the recording to %s: %s\n", argv[0], argv[i + 1],
                         std::strerror(errno));
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (!StartRecording(argc, argv)) {
        return kUsageError;
    }
    std::string commandLine = CommandLineAfterProgram(argc, argv);
    int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
    winapi::input::FinishRecording();
    winapi::window::ShutDownDisplay();
    return exitCode;
}
