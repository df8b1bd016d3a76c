#pragma once
// Position notifications: which events the play cursor passed while a voice advanced, and which
// ones stand for the voice stopping.

#include <dsound.h>

#include <cstdint>
#include <vector>

namespace winapi::dsound {

// DSERR_INVALIDPARAM unless every offset lies inside a buffer of `bufferBytes` bytes (or is
// DSBPN_OFFSETSTOP) and every event is set.
HRESULT ValidateNotifications(const DSBPOSITIONNOTIFY* positions, DWORD count, DWORD bufferBytes);

// Appends the events whose offsets the cursor passed while moving forward `advancedBytes` bytes
// from byte `from` of a buffer of `bufferBytes` bytes, wrapping at its end: the offsets in
// [from, from + advancedBytes) modulo the size. Each fires at most once per call.
void CollectPassed(const std::vector<DSBPOSITIONNOTIFY>& notifications, DWORD from,
                   std::uint64_t advancedBytes, DWORD bufferBytes, std::vector<HANDLE>* events);

// Appends the events registered for DSBPN_OFFSETSTOP.
void CollectStop(const std::vector<DSBPOSITIONNOTIFY>& notifications, std::vector<HANDLE>* events);

} // namespace winapi::dsound
