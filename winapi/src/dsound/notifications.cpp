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

void CollectPassed(const std::vector<DSBPOSITIONNOTIFY>& notifications, DWORD from,
                   std::uint64_t advancedBytes, DWORD bufferBytes, std::vector<HANDLE>* events) {
    if (advancedBytes == 0) {
        return;
    }
    for (const DSBPOSITIONNOTIFY& notification : notifications) {
        if (notification.dwOffset == DSBPN_OFFSETSTOP) {
            continue;
        }
        // Distance from the start of the window to the offset, going forward round the buffer.
        const DWORD ahead = notification.dwOffset >= from
                                ? notification.dwOffset - from
                                : bufferBytes - from + notification.dwOffset;
        if (ahead < advancedBytes) {
            events->push_back(notification.hEventNotify);
        }
    }
}

void CollectStop(const std::vector<DSBPOSITIONNOTIFY>& notifications, std::vector<HANDLE>* events) {
    for (const DSBPOSITIONNOTIFY& notification : notifications) {
        if (notification.dwOffset == DSBPN_OFFSETSTOP) {
            events->push_back(notification.hEventNotify);
        }
    }
}

} // namespace winapi::dsound
