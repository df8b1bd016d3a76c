#pragma once
// Names and one-line descriptions of result codes, narrow and wide. The texts are constants with
// the lifetime of the program; a code outside the tables gives "Unknown" or "n/a".

#include <windows.h>

const char* ErrorName(HRESULT result);
const WCHAR* ErrorNameW(HRESULT result);
const char* ErrorDescription(HRESULT result);
const WCHAR* ErrorDescriptionW(HRESULT result);
