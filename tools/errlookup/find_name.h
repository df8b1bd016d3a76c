#pragma once
// Reads a result code's name as the lookup tool accepts it: a published name in any case
// (DSERR_BUFFERLOST, dserr_bufferlost) names every code whose entry in the narrow name table holds
// it, alone or joined with others by " & ". A Win32 name names two codes, its plain value and its
// result form; most other names name one.

#include <cstdint>
#include <string_view>
#include <vector>

// The codes that name names, in rising order; none for a name no entry holds.
std::vector<std::uint32_t> CodesNamed(std::string_view name);
