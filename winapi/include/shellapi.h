#pragma once
// The shell's services, as the platform's separate shell header offers them.

#include <windows.h>

#include "winapi/shellapi.h"
