#include "sync/kernel_object.h"

#include <winapi/synchapi.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <optional>
#include <thread>
#include <vector>

namespace winapi::sync {
namespace {

std::mutex& WaitMutex() {
    static std::mutex mutex;
    return mutex;
}

std::condition_variable& WaitCondition() {
    static std::condition_variable condition;
    return condition;
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
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    auto lock = LockWaitState();
    bool timedOut = false;
    for (;;) {
        if (const auto index = TrySatisfy(objects, waitAll))
            return WAIT_OBJECT_0 + *index;
        if (timedOut)
            return WAIT_TIMEOUT;
        if (milliseconds == INFINITE)
            WaitCondition().wait(lock);
        else
            timedOut = WaitCondition().wait_until(lock, deadline) == std::cv_status::timeout;
    }
}

} // namespace

std::unique_lock<std::mutex> LockWaitState() {
    return std::unique_lock(WaitMutex());
}

void WakeWaiters() {
    WaitCondition().notify_all();
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
