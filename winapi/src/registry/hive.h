#pragma once
// One root's tree of keys and values, as held in memory between reading and writing its file.

#include "winapi/types.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace winapi::registry {

// Longest key name component and value name the platform accepts, in bytes.
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxValueNameLength = 16383;
// Key ids run from 1 (the root has 0) up to this bound, which no store reaches; a file whose next
// id lies beyond it is damaged.
constexpr std::uint64_t kMaxNextId = std::uint64_t{1} << 48;

struct RegistryValue {
    std::string name; // "" is the key's default value
    DWORD type = 0;
    std::vector<BYTE> data;
    bool operator==(const RegistryValue&) const = default;
};

struct RegistryKey {
    // Never reused within a root, so that a handle to a deleted key cannot reach a key created
    // later under the same path.
    std::uint64_t id = 0;
    std::string path; // components joined by backslashes, spelled as created; "" for the root
    std::vector<RegistryValue> values; // in the order they were first set
    bool operator==(const RegistryKey&) const = default;

    const RegistryValue* FindValue(std::string_view name) const;
    RegistryValue* FindValue(std::string_view name);
};

// Names compare without regard to the case of ASCII letters; other bytes compare exactly.
std::string FoldName(std::string_view name);
bool SameName(std::string_view a, std::string_view b);

// A key name's components are non-empty, at most kMaxKeyNameLength bytes and hold no NUL.
bool IsValidKeyPath(std::string_view path);

class Hive {
public:
    Hive(); // just the root key

    RegistryKey& Root() { return keys_.at(""); }
    const RegistryKey* Find(std::string_view path) const;
    RegistryKey* Find(std::string_view path);
    // Creates the key and any missing keys above it; returns the key and whether it was new, or
    // null when the ids have run out.
    std::pair<RegistryKey*, bool> Create(std::string_view path);
    // Removes a key that has no subkeys.
    void Remove(std::string_view path);
    bool HasSubkeys(std::string_view path) const;
    // The immediate subkeys' last components, ordered by their folded names.
    std::vector<std::string> SubkeyNames(std::string_view path) const;

    std::uint64_t NextId() const { return nextId_; }
    const std::map<std::string, RegistryKey>& Keys() const { return keys_; }

    // For the file reader: the caller has checked ids, paths and parents.
    void Restore(std::uint64_t nextId, std::map<std::string, RegistryKey> keys);

    bool operator==(const Hive&) const = default;

private:
    std::uint64_t nextId_ = 1;
    std::map<std::string, RegistryKey> keys_; // by folded path
};

// The path of a subkey given relative to a key: "" when path is the root.
std::string JoinPath(std::string_view parent, std::string_view child);

} // namespace winapi::registry
