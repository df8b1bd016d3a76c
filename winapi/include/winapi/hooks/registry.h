#pragma once
// Test hooks for the registry.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace winapi::hooks {

// Key handles open now in this process; the predefined roots do not count.
std::size_t OpenRegistryKeyCount();

// The steps of one write to a root's file, in order. A test can stop the writing process at any
// of them to check that the store survives.
enum class RegistryWriteStage {
    Locked,       // holds the root's lock and has read the current file
    TempWritten,  // the new content is in the temporary file, not yet flushed
    TempSynced,   // the temporary file is flushed to disk
    Renamed,      // the temporary file has replaced the root's file
    FolderSynced, // the rename is flushed to disk; the lock is released next
};

// While set, called at each stage of every write. An empty function removes it.
void SetRegistryWriteObserver(std::function<void(RegistryWriteStage)> observer);

// Reads `bytes` as a registry file, as they are and with a right checksum put in. False only when
// the reader is inconsistent: content it accepted does not write back as the same content, or
// stops reading after the edits that writes make.
bool RegistryFileReadsConsistently(std::span<const std::uint8_t> bytes);

// No write observer.
void ResetRegistryHooks();

} // namespace winapi::hooks
