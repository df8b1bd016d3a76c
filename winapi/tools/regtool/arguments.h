#pragma once
// The tool's arguments and output. A key is a root (HKLM, HKEY_LOCAL_MACHINE, HKCU, HKCR, HKU,
// ...) and a path below it after a backslash, as in HKLM\Software\Microsoft. Strings show as
// text, 32-bit numbers as "0x0000002a (42)" (given as decimal or 0x-prefixed hexadecimal), anything
// else as hexadecimal bytes ("01 02 ff"; given with or without spaces).

#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct KeyArgument {
    HKEY root;
    std::string path; // "" for the root itself
};

std::optional<KeyArgument> ParseKeyArgument(std::string_view text);

std::string TypeName(DWORD type);
std::optional<DWORD> ParseTypeName(std::string_view name); // REG_SZ or sz, REG_DWORD, REG_BINARY

std::string DataText(DWORD type, const std::vector<BYTE>& data);
// The bytes to store: strings with their terminator, numbers as 4 little-endian bytes.
std::optional<std::vector<BYTE>> ParseDataText(DWORD type, std::string_view text);

// The published name of a registry result code, for messages.
std::string StatusName(LONG status);

// One run's request, read from the arguments after the program's name.
struct Command {
    enum class Kind { List, Get, Set, Delete, DeleteKey, Where, Help, Version };
    Kind kind = Kind::Where;
    std::string shown; // the key as given, for messages
    KeyArgument key{};
    std::string valueName; // "" is the default value
    DWORD type = REG_NONE; // Set only, with the bytes to store
    std::vector<BYTE> data;
};

// The command, or why there is none: a message, or "" when the usage text is the answer.
std::variant<Command, std::string> ParseCommandLine(std::span<const std::string_view> arguments);
