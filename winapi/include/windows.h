#pragma once
// The platform's core header: types, result codes and the services of the kernel, the window
// manager, the registry and the code pages, as far as this system calls them.

#include "winapi/types.h"
#include "winapi/winerror.h"
#include "winapi/unknwn.h"
#include "winapi/debugapi.h"
#include "winapi/winuser.h"
#include "winapi/winreg.h"
#include "winapi/fileapi.h"
#include "winapi/libloader.h"
#include "winapi/stringapi.h"
#include "winapi/stringconv.h"
#include "winapi/profileapi.h"
#include "winapi/synchapi.h"
#include "winapi/resources.h"
