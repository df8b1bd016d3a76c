// A writer process is killed with SIGKILL many times, at random moments and at each step of a
// write; after every kill the store must open, hold every write that was acknowledged before the
// kill and hold nothing that was never written.

#include "registry_fixture.h"
#include "winapi/hooks/registry.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <ctime>
#include <iostream>
#include <random>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using winapi::hooks::RegistryWriteStage;

constexpr std::uint32_t kSlots = 13;
constexpr int kRandomKills = 300;
constexpr std::uint32_t kNone = 0xFFFFFFFFu;

// Write number seq either sets value "slot<seq % 13>" or, every eighth, creates key "Made\k<seq>".
bool CreatesKey(std::uint32_t seq) {
    return seq % 8 == 7;
}

struct Content {
    DWORD type;
    std::vector<BYTE> data;
};

// Types and lengths vary with seq, so the file changes size and layout from write to write.
Content ContentFor(std::uint32_t seq) {
    switch (seq % 3) {
    case 0: {
        const std::string text = "value " + std::to_string(seq) + std::string(seq % 40, '.');
        return {REG_SZ, std::vector<BYTE>(text.c_str(), text.c_str() + text.size() + 1)};
    }
    case 1:
        return {REG_DWORD, {BYTE(seq), BYTE(seq >> 8), BYTE(seq >> 16), BYTE(seq >> 24)}};
    default: {
        std::vector<BYTE> bytes(seq % 200);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = static_cast<BYTE>(seq * 31 + i);
        }
        return {REG_BINARY, bytes};
    }
    }
}

std::string SlotName(std::uint32_t seq) {
    return "slot" + std::to_string(seq % kSlots);
}
std::string MadeKeyPath(std::uint32_t seq) {
    return "Crash\\Made\\k" + std::to_string(seq);
}

bool Write(HKEY key, std::uint32_t seq) {
    if (CreatesKey(seq)) {
        HKEY made = nullptr;
        const bool ok = RegCreateKeyExA(HKEY_CURRENT_USER, MadeKeyPath(seq).c_str(), 0, nullptr, 0,
                                        KEY_READ, nullptr, &made, nullptr) == ERROR_SUCCESS;
        RegCloseKey(made);
        return ok;
    }
    const Content content = ContentFor(seq);
    return RegSetValueExA(key, SlotName(seq).c_str(), 0, content.type, content.data.data(),
                          static_cast<DWORD>(content.data.size())) == ERROR_SUCCESS;
}

// How far the writer got with its current write, kept in memory shared with the parent so that
// the test can say where its kills fell.
enum Phase {
    Waiting,
    Started,
    Locked,
    TempWritten,
    TempSynced,
    Renamed,
    FolderSynced,
    Acknowledged
};
constexpr const char* kPhaseNames[] = {"between writes", "started",      "locked",
                                       "temp written",   "temp synced",  "renamed",
                                       "folder synced",  "acknowledging"};

// Has the kernel kill the calling process with SIGKILL after the given time. If the process is
// waiting for a processor then, it dies where it was stopped, which is just as random a point.
bool KillAfter(long nanoseconds) {
    sigevent event{};
    event.sigev_notify = SIGEV_SIGNAL;
    event.sigev_signo = SIGKILL;
    timer_t timer;
    itimerspec when{};
    when.it_value.tv_sec = nanoseconds / 1000000000;
    when.it_value.tv_nsec = std::max(1L, nanoseconds % 1000000000);
    return timer_create(CLOCK_MONOTONIC, &event, &timer) == 0 &&
           timer_settime(timer, 0, &when, nullptr) == 0;
}

// The child: writes from seq on, reporting each finished write on the pipe, until killed by its
// timer (after killAfter nanoseconds) or by the observer (at the given stage of the given write).
[[noreturn]] void RunWriter(int ackPipe, std::uint32_t seq, std::atomic<int>* phase, long killAfter,
                            RegistryWriteStage killStage, int killAtWrite) {
    int writes = 0; // outside the observer, which the store copies before each call
    winapi::hooks::SetRegistryWriteObserver([&](RegistryWriteStage stage) {
        phase->store(Locked + static_cast<int>(stage));
        if (stage == killStage && writes++ == killAtWrite) {
            raise(SIGKILL);
        }
    });
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Crash", 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS ||
        (killAfter > 0 && !KillAfter(killAfter))) {
        _exit(2);
    }
    // A bound, should the kill never come.
    for (const std::uint32_t last = seq + 5000; seq < last; ++seq) {
        phase->store(Started);
        if (!Write(key, seq)) {
            _exit(3);
        }
        phase->store(Acknowledged);
        if (write(ackPipe, &seq, sizeof seq) != sizeof seq) {
            _exit(3);
        }
        phase->store(Waiting);
    }
    _exit(4);
}

class RegistryCrash : public RegistryTest {
protected:
    // A kill cannot undo what a process handed to the kernel, so flushes to disk play no part
    // here; a memory-backed folder keeps thousands of writes quick.
    std::filesystem::path BaseFolder() const override {
        std::error_code error;
        return std::filesystem::is_directory("/dev/shm", error) && access("/dev/shm", W_OK) == 0
                   ? std::filesystem::path("/dev/shm")
                   : RegistryTest::BaseFolder();
    }

    void SetUp() override {
        RegistryTest::SetUp();
        void* shared = mmap(nullptr, sizeof(std::atomic<int>), PROT_READ | PROT_WRITE,
                            MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        ASSERT_NE(shared, MAP_FAILED);
        phase_ = new (shared) std::atomic<int>(Waiting);
        RegCloseKey(Create(HKEY_CURRENT_USER, "Crash"));
    }

    void TearDown() override {
        munmap(phase_, sizeof(std::atomic<int>));
        RegistryTest::TearDown();
    }

    // Runs one writer to its end, takes every acknowledgement it sent and returns how it ended.
    int RunWriterToItsEnd(long killAfter, RegistryWriteStage killStage = RegistryWriteStage::Locked,
                          int killAtWrite = -1) {
        int acks[2];
        EXPECT_EQ(pipe(acks), 0);
        const pid_t pid = fork();
        if (pid == 0) {
            close(acks[0]);
            RunWriter(acks[1], next_, phase_, killAfter, killStage, killAtWrite);
        }
        EXPECT_GT(pid, 0);
        close(acks[1]);
        std::uint32_t seq = 0;
        // Writes of 4 bytes to a pipe arrive whole.
        while (read(acks[0], &seq, sizeof seq) == static_cast<ssize_t>(sizeof seq)) {
            EXPECT_EQ(seq, next_) << "acknowledgements arrive in order";
            acknowledged_ = seq;
            next_ = seq + 1;
        }
        close(acks[0]);
        int status = 0;
        EXPECT_EQ(waitpid(pid, &status, 0), pid);
        return status;
    }

    // Every acknowledged write reads back; the one under way at the kill may or may not have
    // landed; no other write has. Keys made by writes that an earlier check saw are looked at
    // again only when asked for everything: losing one would also have set back the values.
    void CheckStore(bool everything = false) {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Crash", 0, KEY_READ, &key), ERROR_SUCCESS);
        const std::uint32_t inFlight = next_;
        bool inFlightLanded = false;
        for (std::uint32_t slot = 0; slot < kSlots; ++slot) {
            std::uint32_t latest = kNone;
            for (std::uint32_t seq = slot; acknowledged_ != kNone && seq <= acknowledged_;
                 seq += kSlots) {
                latest = CreatesKey(seq) ? latest : seq;
            }
            DWORD type = 0;
            LONG status = 0;
            const std::string name = "slot" + std::to_string(slot);
            const auto data = RegistryTest::Query(key, name.c_str(), &type, &status);
            const bool mayBeInFlight = !CreatesKey(inFlight) && inFlight % kSlots == slot;
            if (mayBeInFlight && status == ERROR_SUCCESS && type == ContentFor(inFlight).type &&
                data == ContentFor(inFlight).data) {
                inFlightLanded = true;
                continue;
            }
            if (latest == kNone) {
                EXPECT_EQ(status, ERROR_FILE_NOT_FOUND) << name << " was never written";
                continue;
            }
            ASSERT_EQ(status, ERROR_SUCCESS) << name << " after write " << latest;
            EXPECT_EQ(type, ContentFor(latest).type) << name;
            EXPECT_EQ(data, ContentFor(latest).data) << name << " after write " << latest;
        }
        RegCloseKey(key);
        for (std::uint32_t seq = everything ? 7 : firstUncheckedKey_; seq <= inFlight + 8;
             seq += 8) {
            HKEY made = nullptr;
            const LONG status =
                RegOpenKeyExA(HKEY_CURRENT_USER, MadeKeyPath(seq).c_str(), 0, KEY_READ, &made);
            RegCloseKey(made);
            if (seq == inFlight) {
                inFlightLanded = inFlightLanded || status == ERROR_SUCCESS;
            } else if (acknowledged_ != kNone && seq <= acknowledged_) {
                EXPECT_EQ(status, ERROR_SUCCESS) << "key of write " << seq;
            } else {
                EXPECT_EQ(status, ERROR_FILE_NOT_FOUND) << "key of write " << seq;
            }
        }
        inFlightLanded_ = inFlightLanded;
        if (inFlightLanded) { // it is there to stay, as if acknowledged
            acknowledged_ = inFlight;
            next_ = inFlight + 1;
        }
        while (acknowledged_ != kNone && firstUncheckedKey_ <= acknowledged_) {
            firstUncheckedKey_ += 8;
        }
    }

    std::uint32_t acknowledged_ = kNone;
    std::uint32_t next_ = 0;
    bool inFlightLanded_ = false;
    std::uint32_t firstUncheckedKey_ = 7;
    std::atomic<int>* phase_ = nullptr;
};

bool KilledBySigkill(int status) {
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

TEST_F(RegistryCrash, KillsAtRandomMomentsLoseNothingAcknowledged) {
    std::mt19937 random(20261208);
    // Kills come at a random time within a window that adapts to this machine and build, so that
    // a writer gets a few writes done: some kills fall before the first, most within one.
    double window = 2e6; // nanoseconds
    int killsIn[Acknowledged + 1] = {};
    for (int kill = 0; kill < kRandomKills; ++kill) {
        const auto before = next_;
        const long killAfter = 1 + static_cast<long>(window * (random() % 1000) / 1000.0);
        ASSERT_TRUE(KilledBySigkill(RunWriterToItsEnd(killAfter))) << "writer failed";
        const auto writes = next_ - before;
        window *= writes == 0 ? 1.2 : writes > 3 ? 0.8 : 1.0;
        ++killsIn[phase_->load()];
        ASSERT_NO_FATAL_FAILURE(CheckStore(kill % 50 == 49)) << "after kill " << kill;
        if (HasFailure()) {
            return;
        }
    }
    EXPECT_GE(next_, static_cast<std::uint32_t>(kRandomKills)) << "writers made progress";
    std::cout << kRandomKills << " kills over " << next_ << " writes, last window "
              << static_cast<int>(window / 1000) << " us; kills per phase:";
    for (int phase = Waiting; phase <= Acknowledged; ++phase) {
        std::cout << " " << kPhaseNames[phase] << " " << killsIn[phase] << ",";
    }
    std::cout << "\n";
}

TEST_F(RegistryCrash, KillsAtEachStepOfAWriteKeepTheOldOrTheNewContent) {
    const RegistryWriteStage stages[] = {
        RegistryWriteStage::Locked, RegistryWriteStage::TempWritten, RegistryWriteStage::TempSynced,
        RegistryWriteStage::Renamed, RegistryWriteStage::FolderSynced};
    for (const RegistryWriteStage stage : stages) {
        for (int killAtWrite = 0; killAtWrite < 3; ++killAtWrite) {
            SCOPED_TRACE(testing::Message()
                         << "stage " << static_cast<int>(stage) << ", write " << killAtWrite);
            ASSERT_TRUE(KilledBySigkill(RunWriterToItsEnd(0, stage, killAtWrite)));
            ASSERT_NO_FATAL_FAILURE(CheckStore());
            const bool replaced =
                stage == RegistryWriteStage::Renamed || stage == RegistryWriteStage::FolderSynced;
            EXPECT_EQ(inFlightLanded_, replaced);
        }
    }
}

} // namespace
