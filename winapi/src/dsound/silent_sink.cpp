// Mixes into nothing in real time, so cursors move and notifications fire without a sound card.

#include "dsound/output_sink.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace winapi::dsound {
namespace {

using Clock = std::chrono::steady_clock;

// Shorter than the mixer's sub-blocks, so that positions a few milliseconds apart are passed,
// and their events signalled, at separate moments as on a sound card.
constexpr auto kTick = std::chrono::milliseconds(2);
constexpr DWORD kMaxFramesPerRender = 1024;

class SilentSink final : public OutputSink {
public:
    explicit SilentSink(MixSource& source) : source_(source) {}
    ~SilentSink() override { Stop(); }

    bool Start(const SampleFormat& format, std::string*) override {
        Stop();
        format_ = format;
        stopping_ = false;
        thread_ = std::thread([this] { Run(); });
        return true;
    }

    void Stop() override {
        if (!thread_.joinable()) {
            return;
        }
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

private:
    void Run() {
        std::vector<BYTE> scratch(static_cast<std::size_t>(kMaxFramesPerRender) *
                                  format_.blockAlign);
        const Clock::time_point start = Clock::now();
        std::uint64_t rendered = 0;
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, kTick, [this] { return stopping_; })) {
            lock.unlock();
            const auto elapsed =
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
            const std::uint64_t due =
                static_cast<std::uint64_t>(elapsed.count()) * format_.rate / 1000000;
            while (rendered < due) {
                const auto frames = static_cast<DWORD>(
                    std::min<std::uint64_t>(due - rendered, kMaxFramesPerRender));
                source_.Render(scratch.data(), frames, format_);
                rendered += frames;
            }
            lock.lock();
        }
    }

    MixSource& source_;
    SampleFormat format_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace

std::unique_ptr<OutputSink> MakeSilentSink(MixSource& source) {
    return std::make_unique<SilentSink>(source);
}

} // namespace winapi::dsound
