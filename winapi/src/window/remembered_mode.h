#pragma once
// The display mode the user chose last, kept in the registry under the current user's key for the
// program: HKEY_CURRENT_USER\Software\<program>\Display, value "Windowed" (REG_DWORD, 1 for a
// window, 0 for full screen), <program> being the executable's file name.

#include <optional>

namespace winapi::window {

// Empty when nothing (or nothing readable) is remembered.
std::optional<bool> RememberedWindowed();
// A store that cannot be written leaves the choice to this run only.
void RememberWindowed(bool windowed);

} // namespace winapi::window
