// Position notifications passed by the play cursor.

#include "dsound/notifications.h"

namespace winapi::dsound {

HRESULT ValidateNotifications(const DSBPOSITIONNOTIFY* positions, DWORD count, DWORD bufferBytes) {
    if (count > 0 && positions == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    for (DWORD i = 0; i < count; ++i) {
        const DSBPOSITIONNOTIFY& position = positions[i];
        if (position.hEventNotify == nullptr ||
            (position.dwOffset >= bufferBytes && position.dwOffset != DSBPN_OFFSETSTOP)) {
            return DSERR_INVALIDPARAM;
        }
    }
    return DS_OK;
}

void CollectPassed(const std::vector<Notification>& notifications, DWORD from,
                   std::uint64_t advancedBytes, DWORD bufferBytes,
                   std::vector<const std::shared_ptr<sync::Event>*>* events) {
    if (advancedBytes == 0) {
        return;
    }
    for (const Notification& notification : notifications) {
        if (notification.dwOffset == DSBPN_OFFSETSTOP || !notification.event) {
            continue;
        }
        // Distance from the start of the window to the offset, going forward round the buffer.
        const DWORD ahead = notification.dwOffset >= from
                                ? notification.dwOffset - from
                                : bufferBytes - from + notification.dwOffset;
        if (ahead < advancedBytes) {
            events->push_back(&notification.event);
        }
    }
}

void CollectStop(const std::vector<Notification>& notifications,
                 std::vector<const std::shared_ptr<sync::Event>*>* events) {
    for (const Notification& notification : notifications) {
        if (notification.dwOffset == DSBPN_OFFSETSTOP && notification.event) {
            events->push_back(&notification.event);
        }
    }
}

std::vector<Notification> ResolveNotifications(const DSBPOSITIONNOTIFY* positions, DWORD count) {
    std::vector<Notification> notifications(count);
    for (DWORD i = 0; i < count; ++i) {
        static_cast<DSBPOSITIONNOTIFY&>(notifications[i]) = positions[i];
        notifications[i].event = sync::FindEvent(positions[i].hEventNotify);
    }
    return notifications;
}

} // namespace winapi::dsound
