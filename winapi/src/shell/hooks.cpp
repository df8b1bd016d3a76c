#include "winapi/hooks/shell.h"

#include "shell/opener.h"

namespace winapi::hooks {

void SetOpenerHandler(OpenerHandler handler) {
    std::lock_guard lock(shell::openerChoice.mutex);
    shell::openerChoice.handler = std::move(handler);
}

void SetOpenerProgram(std::string program) {
    std::lock_guard lock(shell::openerChoice.mutex);
    shell::openerChoice.program = program.empty() ? shell::kDefaultOpener : std::move(program);
}

void ResetShellHooks() {
    SetOpenerHandler(nullptr);
    SetOpenerProgram("");
}

} // namespace winapi::hooks
