#pragma once
// The constant tables behind the name and description lookups, generated into errors/generated/
// by tools/gen_error_tables.py. Each table is sorted by code, one entry per code.

#include <windows.h>

#include <cstdint>
#include <span>

namespace error_tables {

template <typename Char> struct TableEntry {
    std::uint32_t code;
    const Char* text;
};

std::span<const TableEntry<char>> NarrowNames();
std::span<const TableEntry<WCHAR>> WideNames();
std::span<const TableEntry<char>> NarrowDescriptions();
std::span<const TableEntry<WCHAR>> WideDescriptions();

} // namespace error_tables
