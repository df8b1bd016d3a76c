#include "shell/opener.h"

#include <cerrno>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

// The opener may run for as long as the user keeps the document open; a detached thread collects
// its exit status so that it never lingers as a zombie.
void ReapWhenDone(pid_t child) {
    try {
        std::thread([child] {
            int status = 0;
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (...) {
        // No thread to spare: the child is collected when the program ends.
    }
}

} // namespace

namespace winapi::shell {

OpenerChoice openerChoice;

StartResult StartOpener(const std::string& linuxPath) {
    std::function<bool(const std::vector<std::string>&)> handler;
    std::string program;
    {
        std::lock_guard lock(openerChoice.mutex);
        handler = openerChoice.handler;
        program = openerChoice.program;
    }
    std::vector<std::string> command{program, linuxPath};
    if (handler) {
        return handler(command) ? StartResult::Started : StartResult::NoOpener;
    }
    std::vector<char*> argv;
    for (std::string& argument : command) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    const int error =
        ::posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv.data(), environ);
    if (error != 0) {
        return error == ENOMEM ? StartResult::OutOfMemory : StartResult::NoOpener;
    }
    ReapWhenDone(child);
    return StartResult::Started;
}

} // namespace winapi::shell
