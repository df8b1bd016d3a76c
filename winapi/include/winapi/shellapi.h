#pragma once
// The shell's file opener.
// Stand-in: the verb "open" (or null) hands the file to the desktop's opener, xdg-open, started as
// a separate process without a shell, so a file name is never read as a command. A relative file
// name is taken from directory when one is given, else from the working folder. Parameters and
// the show command do not apply to opening a document and are ignored; other verbs have no
// association. Success means the opener was started: what it does with the file is its own affair.

#include "winapi/types.h"
#include "winapi/winerror.h"

// Error values (the result is above 32 on success).
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_SHARE 26
#define SE_ERR_ASSOCINCOMPLETE 27
#define SE_ERR_DDETIMEOUT 28
#define SE_ERR_DDEFAIL 29
#define SE_ERR_DDEBUSY 30
#define SE_ERR_NOASSOC 31
#define SE_ERR_DLLNOTFOUND 32

HINSTANCE ShellExecuteA(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                        LPCSTR directory, INT showCommand);
