#pragma once
// Kernel events, for services that signal them from their own threads. Set never takes a lock,
// so a real-time thread (the sound mixer) may call it.

#include "sync/kernel_object.h"

#include <atomic>

namespace winapi::sync {

class Event final : public KernelObject {
public:
    Event(bool manualReset, bool signalled) : manualReset_(manualReset), signalled_(signalled) {}

    bool IsWaitable() const override { return true; }
    bool IsSignalled() const override { return signalled_.load(); }
    void OnWaitSatisfied() override {
        if (!manualReset_)
            signalled_.store(false);
    }

    // Lock-free: a flag and a wake of the waiting threads.
    void Set() {
        signalled_.store(true);
        WakeWaiters();
    }

    void Reset() {
        auto lock = LockWaitState();
        signalled_.store(false);
    }

private:
    const bool manualReset_;
    // Raised without the wait state's lock; lowered only with it held, so a wait that saw every
    // object of a list signalled can consume them all.
    std::atomic<bool> signalled_;
};

// The event behind a handle, or null when the handle names no open event.
std::shared_ptr<Event> FindEvent(HANDLE handle);

} // namespace winapi::sync
