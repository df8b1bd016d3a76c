#pragma once
// The I/O procedure of disk files ("DOS "): POSIX file descriptors behind the MMIOM messages.

#include <mmsystem.h>

#include <string>

namespace winapi::mmio {

LRESULT CALLBACK DosIoProcedure(LPSTR info, UINT message, LPARAM first, LPARAM second);

// The platform's path with backslashes as separators, as POSIX wants it.
std::string PosixPath(LPCSTR path);

} // namespace winapi::mmio
