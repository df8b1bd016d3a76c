#pragma once
// The file form of one root, all integers little-endian:
//   "QREG", u32 version 1, u64 next key id, u32 key count,
//   per key:   u64 id, u32 path length, path, u32 value count,
//   per value: u32 name length, name, u32 type, u32 data length, data,
//   u32 CRC-32 of every byte before it.
// Keys come in the order of their folded paths, so a parent always precedes its subkeys.

#include "hive.h"

#include <optional>
#include <span>
#include <vector>

namespace winapi::registry {

std::vector<BYTE> SerializeHive(const Hive& hive);

// Null for anything that SerializeHive could not have written: a wrong checksum, a truncated or
// oversized record, a bad name, a duplicate key or value, a key without its parent.
std::optional<Hive> ParseHive(std::span<const BYTE> bytes);

// The CRC-32 that closes a file, over the bytes before it.
std::uint32_t HiveChecksum(std::span<const BYTE> bytes);

} // namespace winapi::registry
