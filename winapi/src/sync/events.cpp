#include "sync/event.h"

#include <winapi/synchapi.h>

namespace winapi::sync {

std::shared_ptr<Event> FindEvent(HANDLE handle) {
    return std::dynamic_pointer_cast<Event>(FindHandle(handle));
}

} // namespace winapi::sync

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCSTR) {
    return winapi::sync::RegisterHandle(
        std::make_shared<winapi::sync::Event>(bManualReset != FALSE, bInitialState != FALSE));
}

BOOL SetEvent(HANDLE hEvent) {
    const auto event = winapi::sync::FindEvent(hEvent);
    if (!event)
        return FALSE;
    event->Set();
    return TRUE;
}

BOOL ResetEvent(HANDLE hEvent) {
    const auto event = winapi::sync::FindEvent(hEvent);
    if (!event)
        return FALSE;
    event->Reset();
    return TRUE;
}
