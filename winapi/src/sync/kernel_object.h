#pragma once
// Kernel objects named by HANDLEs. Services register their own kinds here so that CloseHandle and
// the wait functions work for all of them.

#include "winapi/types.h"

#include <memory>
#include <mutex>

namespace winapi::sync {

// One object behind a handle. Waitable kinds override the two wait hooks; both are called with
// the lock of LockWaitState() held, and any change that may satisfy a wait must call
// WakeWaiters() after it. A signal may be raised without the lock; it may be lowered only with it.
class KernelObject {
public:
    virtual ~KernelObject() = default;
    virtual bool IsWaitable() const { return false; }
    virtual bool IsSignalled() const { return false; }
    // A wait on this object has been satisfied; auto-reset kinds consume the signal here.
    virtual void OnWaitSatisfied() {}
};

// Gives the object a new handle; the handle table keeps it alive until CloseHandle.
HANDLE RegisterHandle(std::shared_ptr<KernelObject> object);

// The object behind a handle, or null for a handle that is not open.
std::shared_ptr<KernelObject> FindHandle(HANDLE handle);

// The lock that guards every waitable object's state.
std::unique_lock<std::mutex> LockWaitState();

// Wakes every waiting thread to look at its objects again. Takes no lock.
void WakeWaiters();

} // namespace winapi::sync
