#pragma once
// Reads a result code as the lookup tool accepts it: hexadecimal with a 0x prefix (0x88780096),
// unsigned decimal (2289565846) or negative decimal (-2005401450), each within 32 bits.

#include <cstdint>
#include <optional>
#include <string_view>

std::optional<std::uint32_t> ParseCode(std::string_view text);
