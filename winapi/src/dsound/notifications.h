#pragma once
// Position notifications: which events the play cursor passed while a voice advanced, and which
// ones stand for the voice stopping.

#include "dsound/voice.h"

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
// The events are the voice's own: valid while its notifications stay as they are.
void CollectPassed(const std::vector<Notification>& notifications, DWORD from,
                   std::uint64_t advancedBytes, DWORD bufferBytes,
                   std::vector<const std::shared_ptr<sync::Event>*>* events);

// Appends the events registered for DSBPN_OFFSETSTOP.
void CollectStop(const std::vector<Notification>& notifications,
                 std::vector<const std::shared_ptr<sync::Event>*>* events);

// The notifications to keep for `positions`, each with the event its handle names.
std::vector<Notification> ResolveNotifications(const DSBPOSITIONNOTIFY* positions, DWORD count);

} // namespace winapi::dsound
