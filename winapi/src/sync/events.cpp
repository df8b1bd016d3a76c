#include "sync/kernel_object.h"

#include <winapi/synchapi.h>

namespace winapi::sync {
namespace {

class Event final : public KernelObject {
public:
    Event(bool manualReset, bool signalled) : manualReset_(manualReset), signalled_(signalled) {}

    bool IsWaitable() const override { return true; }
    bool IsSignalled() const override { return signalled_; }
    void OnWaitSatisfied() override {
        if (!manualReset_)
            signalled_ = false;
    }

    void Set() {
        auto lock = LockWaitState();
        signalled_ = true;
        WakeWaiters();
    }

    void Reset() {
        auto lock = LockWaitState();
        signalled_ = false;
    }

private:
    const bool manualReset_;
    bool signalled_; // guarded by the wait state's lock
};

std::shared_ptr<Event> FindEvent(HANDLE handle) {
    return std::dynamic_pointer_cast<Event>(FindHandle(handle));
}

} // namespace
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
