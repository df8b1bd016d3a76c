#pragma once
// Runs a shell command line and collects its exit code and what it wrote to standard output
// (redirections in the line decide where standard error goes).

#include <cstdio>
#include <string>
#include <sys/wait.h>

struct CommandOutcome {
    int exitCode; // -1 when the command did not exit normally
    std::string output;
};

inline CommandOutcome RunCommand(const std::string& line) {
    CommandOutcome outcome{-1, ""};
    FILE* pipe = popen(line.c_str(), "r");
    if (pipe == nullptr) {
        return outcome;
    }
    char chunk[256];
    while (std::size_t got = std::fread(chunk, 1, sizeof chunk, pipe)) {
        outcome.output.append(chunk, got);
    }
    const int status = pclose(pipe);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}
