#pragma once
// Conversion between the narrow code pages and UTF-16.
// Stand-in: CP_ACP, CP_OEMCP, CP_THREAD_ACP and CP_UTF8 are all UTF-8; other code pages fail with
// ERROR_INVALID_PARAMETER. The rules are the platform's for UTF-8: the only flags are
// MB_ERR_INVALID_CHARS and WC_ERR_INVALID_CHARS, the default-character arguments must be null,
// and without those flags malformed input becomes U+FFFD (one per maximal bad subsequence) and an
// unpaired surrogate becomes U+FFFD. A destination that is too small holds the whole characters
// that fit, and the result is then 0 with ERROR_INSUFFICIENT_BUFFER.

#include "winapi/errhandlingapi.h"
#include "winapi/types.h"
#include "winapi/winerror.h"

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_THREAD_ACP 3
#define CP_UTF8 65001

#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_ERR_INVALID_CHARS 0x00000080

// sourceLength -1 converts through the terminator, which is then counted in the result.
// destLength 0 asks for the size needed. 0 on failure, with the reason as the last error.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength, LPWSTR dest,
                        int destLength);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength, LPSTR dest,
                        int destLength, LPCSTR defaultChar, LPBOOL usedDefaultChar);
