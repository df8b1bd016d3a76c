#pragma once
// The one level: 24 rows of 32 tile numbers, stored row after row.

#include <cstdint>

inline constexpr int levelColumns = 32;
inline constexpr int levelRows = 24;

extern const std::int16_t levelLayout[levelRows * levelColumns];
