#include "sync/kernel_object.h"

#include <winapi/synchapi.h>

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <optional>
#include <thread>
#include <vector>

namespace winapi::sync {
namespace {

// Waiters check their objects under this lock, so a wait for all of a list consumes the signals
// of all of them at once. Signallers do not take it: they bump `wakeCount` and wake its futex.
std::mutex& WaitMutex() {
    static std::mutex mutex;
    return mutex;
}

std::atomic<std::uint32_t> wakeCount{0};
std::atomic<int> sleepers{0};

// Sleeps until `wakeCount` moves on from `seen`, or the deadline passes. Returns false on timeout.
bool SleepUntilWoken(std::uint32_t seen,
                     std::optional<std::chrono::steady_clock::time_point> deadline) {
    timespec relative{};
    timespec* timeout = nullptr;
    if (deadline) {
        const auto left = *deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::nanoseconds::zero())
            return false;
        const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        relative.tv_sec = static_cast<time_t>(nanoseconds / 1000000000);
        relative.tv_nsec = static_cast<long>(nanoseconds % 1000000000);
        timeout = &relative;
    }
    ++sleepers;
    syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&wakeCount), FUTEX_WAIT_PRIVATE, seen,
            timeout, nullptr, 0);
    --sleepers;
    return true;
}

// Index of the satisfied object (0 when all must be signalled), or nothing while the wait goes on.
// Satisfying the wait consumes the signals it took.
std::optional<DWORD> TrySatisfy(const std::vector<std::shared_ptr<KernelObject>>& objects,
                                bool waitAll) {
    if (waitAll) {
        for (const auto& object : objects)
            if (!object->IsSignalled())
                return std::nullopt;
        for (const auto& object : objects)
            object->OnWaitSatisfied();
        return 0;
    }
    for (DWORD index = 0; index < objects.size(); ++index) {
        if (objects[index]->IsSignalled()) {
            objects[index]->OnWaitSatisfied();
            return index;
        }
    }
    return std::nullopt;
}

DWORD Wait(const std::vector<std::shared_ptr<KernelObject>>& objects, bool waitAll,
           DWORD milliseconds) {
    std::optional<std::chrono::steady_clock::time_point> deadline;
    if (milliseconds != INFINITE)
        deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        // Read before looking, so a signal raised after the look changes it and the sleep below
        // returns at once.
        const std::uint32_t seen = wakeCount.load();
        {
            auto lock = LockWaitState();
            if (const auto index = TrySatisfy(objects, waitAll))
                return WAIT_OBJECT_0 + *index;
        }
        if (!SleepUntilWoken(seen, deadline))
            return WAIT_TIMEOUT;
    }
}

} // namespace

std::unique_lock<std::mutex> LockWaitState() {
    return std::unique_lock(WaitMutex());
}

void WakeWaiters() {
    ++wakeCount;
    if (sleepers.load() > 0)
        syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&wakeCount), FUTEX_WAKE_PRIVATE,
                INT32_MAX, nullptr, nullptr, 0);
}

} // namespace winapi::sync

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    return WaitForMultipleObjects(1, &hHandle, FALSE, dwMilliseconds);
}

DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll,
                             DWORD dwMilliseconds) {
    using namespace winapi::sync;
    if (nCount == 0 || nCount > MAXIMUM_WAIT_OBJECTS || lpHandles == nullptr)
        return WAIT_FAILED;
    std::vector<std::shared_ptr<KernelObject>> objects;
    objects.reserve(nCount);
    for (DWORD index = 0; index < nCount; ++index) {
        auto object = FindHandle(lpHandles[index]);
        if (!object || !object->IsWaitable())
            return WAIT_FAILED;
        // Waiting for all of a list that names one object twice is refused, as on the platform.
        if (bWaitAll && std::find(objects.begin(), objects.end(), object) != objects.end())
            return WAIT_FAILED;
        objects.push_back(std::move(object));
    }
    return Wait(objects, bWaitAll != FALSE, dwMilliseconds);
}

void Sleep(DWORD dwMilliseconds) {
    if (dwMilliseconds == 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}
