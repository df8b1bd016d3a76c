#pragma once
// The calling thread's last-error code.
// Stand-in: one value per thread, starting at ERROR_SUCCESS; services set it where the platform
// documents that they do.

#include "winapi/types.h"

DWORD GetLastError();
void SetLastError(DWORD errorCode);
