#pragma once
// Where an installed game finds its data and keeps what it writes. Installed, the executable lies
// in <prefix>/bin and its data in <prefix>/share/quillerby; it runs in its state folder, so that
// Log.txt never lands in the user's folder or the prefix. Run from the build folder, it keeps the
// folder it was started in, with the assets beside it.

#include <string>

namespace winapi::entry {

// <folder of executable>/../share/quillerby when that folder exists, else empty.
std::string InstalledDataFolder(const std::string& executable);

// $XDG_STATE_HOME/quillerby (when that variable holds an absolute path), else
// $HOME/.local/state/quillerby; empty when neither is known.
std::string StateFolder(const char* xdgStateHome, const char* home);

// Creates folder and its missing parents, private to the user (0700). Empty on success, else why
// not.
std::string MakePrivateFolder(const std::string& folder);

// path, made absolute against folder when it is relative.
std::string AbsoluteFrom(const std::string& folder, const std::string& path);

} // namespace winapi::entry
