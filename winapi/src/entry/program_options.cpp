#include "program_options.h"

namespace winapi::entry {

const char kProgramUsage[] =
    "usage: quillerby [--windowed] [--record FILE]\n"
    "       quillerby --help | --version\n"
    "Rides the biker over the level: arrows ride, Space jumps, B hits, Escape quits.\n"
    "  --windowed      play in a window rather than on the full screen\n"
    "  --record FILE   record the ride into FILE\n"
    "  --help          show this text\n"
    "  --version       show the version\n"
    "Environment:\n"
    "  WINAPI_INPUT_SCRIPT  a keyboard script to play in place of the keyboard\n"
    "  WINAPI_REGISTRY_DIR  the registry's folder (else ~/.config/quillerby/registry)\n"
    "  SDL_AUDIODRIVER      the sound driver (dummy: no sound card needed)\n"
    "  XDG_STATE_HOME       installed game: Log.txt in $XDG_STATE_HOME/quillerby/\n";

std::variant<ProgramOptions, std::string>
ParseProgramOptions(std::span<const std::string_view> arguments) {
    ProgramOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        // A lone "-" is an argument, as it is for most programs; the game takes no other options.
        if (optionsEnded || !argument.starts_with('-') || argument == "-") {
            options.passedOn.emplace_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--windowed") {
            options.windowed = true;
        } else if (argument == "--record" || argument.starts_with("--record=")) {
            const bool joined = argument != "--record";
            const std::string_view file = joined                     ? argument.substr(9)
                                          : i + 1 < arguments.size() ? arguments[++i]
                                                                     : std::string_view();
            if (file.empty()) {
                return std::string("--record needs a FILE");
            }
            options.recordFile = std::string(file);
        } else {
            return "unknown option " + std::string(argument);
        }
    }
    return options;
}

} // namespace winapi::entry
