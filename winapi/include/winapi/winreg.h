#pragma once
// The registry: a durable store of keys and typed values on disk, one file per predefined root in
// the folder named by WINAPI_REGISTRY_DIR, else $XDG_CONFIG_HOME/quillerby/registry, else
// ~/.config/quillerby/registry. Each write is atomic and durable before the call returns, and
// every call sees what other processes wrote before it. Left out: security, classes, volatile keys,
// links, notifications, wide forms; HKEY_CLASSES_ROOT is a root of its own, not a merged view.
// Names compare without regard to the case of ASCII letters. A damaged file gives ERROR_BADDB, and
// so does a file above 64 MiB, which is not read; a write that would pass that size fails with
// ERROR_CANTWRITE. A store folder that another user owns, or that its group or others can write,
// is refused: every call that needs the store gives ERROR_ACCESS_DENIED.

#include "winapi/types.h"
#include "winapi/winerror.h"

typedef DWORD REGSAM;
typedef LONG LSTATUS;

#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)0x80000000u)
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)0x80000001u)
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)0x80000002u)
#define HKEY_USERS ((HKEY)(ULONG_PTR)0x80000003u)

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F

#ifndef ERROR_NOACCESS
#define ERROR_NOACCESS 998L
#endif

#define REG_OPTION_NON_VOLATILE 0x00000000L
#define REG_CREATED_NEW_KEY 0x00000001L
#define REG_OPENED_EXISTING_KEY 0x00000002L

typedef struct _SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR className, DWORD options,
                        REGSAM access, const SECURITY_ATTRIBUTES* security, PHKEY result,
                        LPDWORD disposition);
LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD dataSize);
LSTATUS RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD dataSize);
LSTATUS RegDeleteValueA(HKEY key, LPCSTR valueName);
LSTATUS RegCloseKey(HKEY key);
// Deletes a key that has no subkeys (ERROR_ACCESS_DENIED otherwise); "" deletes the key itself.
LSTATUS RegDeleteKeyA(HKEY key, LPCSTR subKey);
// The index-th subkey's name or value, in a stable order; ERROR_NO_MORE_ITEMS past the last.
LSTATUS RegEnumKeyA(HKEY key, DWORD index, LPSTR name, DWORD nameChars);
LSTATUS RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameChars,
                      LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize);
