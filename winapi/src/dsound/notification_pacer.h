#pragma once
// Sets position notifications when the sound they mark plays rather than when it is mixed. A sound
// card's callback mixes several sub-blocks at once, so signals set while mixing would reach a
// thread waiting on one event microseconds apart, and it would see them as one. The mixing side
// schedules without a lock or an allocation; a thread of the pacer's own sets each event at its
// time, in the order scheduled.

#include "sync/event.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

namespace winapi::dsound {

class NotificationPacer {
public:
    NotificationPacer();
    // Sets what is still scheduled, then stops the thread.
    ~NotificationPacer();
    NotificationPacer(const NotificationPacer&) = delete;
    NotificationPacer& operator=(const NotificationPacer&) = delete;

    // Sets `event` once the steady clock reads `dueNanoseconds`. Callers take turns (the mixer
    // calls it under its lock). False when the schedule is full: the caller sets the event itself.
    bool Schedule(const std::shared_ptr<sync::Event>& event, std::uint64_t dueNanoseconds);

    static std::uint64_t NowNanoseconds();

private:
    struct Slot {
        std::shared_ptr<sync::Event> event; // null once set
        std::uint64_t due = 0;
    };

    void Run();
    void SleepUntil(std::uint64_t due) const;

    std::vector<Slot> slots_;            // a ring, never resized
    std::atomic<std::uint32_t> head_{0}; // the next slot to set; moved by the pacer's thread
    std::atomic<std::uint32_t> tail_{0}; // the next slot to fill; moved by the scheduling side
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace winapi::dsound
