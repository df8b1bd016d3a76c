#pragma once
// Program resources linked into the executable.
// Stand-in: resources are embedded at build time by quillerby_embed_resources (cmake/) and belong
// to the executable, whatever module handle is passed; names and types match without regard to
// case, and integer ids match resources named "#<id>". Resources are read-only and never freed.

#include "winapi/types.h"

#include "winapi/winerror.h"
#include <cstddef>

#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEINTRESOURCE MAKEINTRESOURCEA

#define RT_RCDATA MAKEINTRESOURCEA(10)

HRSRC FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType);
HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo);
DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo);
LPVOID LockResource(HGLOBAL hResData);
BOOL FreeResource(HGLOBAL hResData);

namespace winapi {

// Makes the bytes a resource of the executable under the type and name (case does not matter;
// "#<id>" is the integer id), as the sources that quillerby_embed_resources generates do before
// main. The bytes must stay valid for the rest of the program. A later registration of the same
// type and name replaces the earlier one. Returns true.
bool RegisterResource(const char* type, const char* name, const void* data, std::size_t size);

} // namespace winapi
