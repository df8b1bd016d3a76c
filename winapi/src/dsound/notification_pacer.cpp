#include "dsound/notification_pacer.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace winapi::dsound {
namespace {

// Room for the positions of many voices passed within one callback.
constexpr std::uint32_t kSlots = 1024;
// A schedule is never further ahead than a device buffer; the cap keeps a stop prompt whatever
// the clock does.
constexpr std::uint64_t kLongestWaitNs = 100'000'000;
constexpr timespec kIdleWait{0, 50'000'000};

void WaitWhileEqual(std::atomic<std::uint32_t>& word, std::uint32_t seen) {
    syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&word), FUTEX_WAIT_PRIVATE, seen,
            &kIdleWait, nullptr, 0);
}

void WakeWaiter(std::atomic<std::uint32_t>& word) {
    syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&word), FUTEX_WAKE_PRIVATE, 1, nullptr,
            nullptr, 0);
}

} // namespace

NotificationPacer::NotificationPacer() : slots_(kSlots), thread_([this] { Run(); }) {}

NotificationPacer::~NotificationPacer() {
    stopping_.store(true);
    WakeWaiter(tail_);
    thread_.join();
}

std::uint64_t NotificationPacer::NowNanoseconds() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

bool NotificationPacer::Schedule(const std::shared_ptr<sync::Event>& event,
                                 std::uint64_t dueNanoseconds) {
    const std::uint32_t tail = tail_.load(std::memory_order_relaxed);
    if (tail - head_.load(std::memory_order_acquire) == kSlots) {
        return false;
    }
    Slot& slot = slots_[tail % kSlots];
    slot.event = event; // the slot is empty: nothing is released here
    slot.due = dueNanoseconds;
    tail_.store(tail + 1, std::memory_order_release);
    WakeWaiter(tail_);
    return true;
}

void NotificationPacer::SleepUntil(std::uint64_t due) const {
    const std::uint64_t now = NowNanoseconds();
    if (due <= now) {
        return;
    }
    const std::uint64_t wait = std::min(due - now, kLongestWaitNs);
    const timespec span{static_cast<time_t>(wait / 1'000'000'000),
                        static_cast<long>(wait % 1'000'000'000)};
    nanosleep(&span, nullptr);
}

void NotificationPacer::Run() {
    for (;;) {
        const std::uint32_t head = head_.load(std::memory_order_relaxed);
        const std::uint32_t tail = tail_.load(std::memory_order_acquire);
        if (head == tail) {
            if (stopping_.load()) {
                return;
            }
            WaitWhileEqual(tail_, tail);
            continue;
        }
        Slot& slot = slots_[head % kSlots];
        if (!stopping_.load()) {
            SleepUntil(slot.due);
        }
        slot.event->Set();
        slot.event.reset();
        head_.store(head + 1, std::memory_order_release);
    }
}

} // namespace winapi::dsound
