// The program's entry: reads the program's own options, settles where an installed game reads and
// writes, runs the program's WinMain as the platform would start it, then closes what is left of
// the display.

#include "input/recorder.h"
#include "installed_layout.h"
#include "program_options.h"
#include "quillerby_version.h"
#include "winapi/data_folder.h"
#include "winapi/input_script.h"
#include "window/display.h"
#include "window/display_mode.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <windows.h>

namespace {

constexpr int kFailed = 1;
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

std::string RealExecutable() {
    char resolved[PATH_MAX];
    return ::realpath("/proc/self/exe", resolved) != nullptr ? resolved : std::string();
}

// An installed game reads its data from the installed data folder and runs in its state folder.
// Paths the user gave relative to the folder the game was started in are made absolute first.
bool EnterInstalledLayout(winapi::entry::ProgramOptions& options) {
    using namespace winapi::entry;
    const std::string data = InstalledDataFolder(RealExecutable());
    if (data.empty()) {
        return true;
    }
    const std::string state = StateFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
    if (state.empty()) {
        std::fputs("quillerby: no folder for Log.txt: set XDG_STATE_HOME or HOME\n", stderr);
        return false;
    }
    if (const std::string problem = MakePrivateFolder(state); !problem.empty()) {
        std::fprintf(stderr, "quillerby: cannot create the state folder %s\n", problem.c_str());
        return false;
    }
    char started[PATH_MAX];
    if (::getcwd(started, sizeof started) == nullptr) {
        std::perror("quillerby: the working folder");
        return false;
    }
    for (const char* variable : {winapi::input::kScriptVariable, "WINAPI_REGISTRY_DIR"}) {
        if (const char* value = std::getenv(variable)) {
            ::setenv(variable, AbsoluteFrom(started, value).c_str(), 1);
        }
    }
    if (options.recordFile) {
        options.recordFile = AbsoluteFrom(started, *options.recordFile);
    }
    if (::chdir(state.c_str()) != 0) {
        std::perror(("quillerby: " + state).c_str());
        return false;
    }
    winapi::SetDataFolder(data);
    return true;
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
    if (!EnterInstalledLayout(options)) {
        return kFailed;
    }
    if (options.windowed) {
        winapi::window::StartWindowed();
    }
    if (options.recordFile && !winapi::input::RecordKeysTo(*options.recordFile)) {
        std::fprintf(stderr, "quillerby: cannot write the recording to %s: %s\n",
                     options.recordFile->c_str(), std::strerror(errno));
        return kUsage;
    }
    std::string commandLine = CommandLine(options.passedOn);
    int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
    winapi::input::FinishRecording();
    winapi::window::ShutDownDisplay();
    return exitCode;
}
