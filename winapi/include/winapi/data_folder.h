#pragma once
// Ours, not the platform's: the read-only folder of an installed game's data. The program reads
// its files by relative names from the working folder; an installed game runs in a folder of its
// own, so a file opened for reading by a relative name that the working folder does not hold is
// opened from the data folder instead (multimedia file I/O and D3DX's image files). Writing
// always goes to the working folder.

#include <string>

namespace winapi {

// An absolute Linux folder; empty (the default) turns the fallback off.
void SetDataFolder(std::string linuxFolder);

} // namespace winapi
