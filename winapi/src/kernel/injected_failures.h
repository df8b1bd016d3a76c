#pragma once
// The results that tests have chosen for some calls of a service, set through that service's hooks
// (winapi/hooks/<service>.h). A service asks before doing a call's work; a call with no failure
// chosen reads as 0, the platform's success.

#include <array>
#include <atomic>
#include <cstddef>

namespace winapi {

template <typename Call, typename Result, std::size_t Count> class InjectedFailures {
public:
    Result For(Call call) const {
        return results_[static_cast<std::size_t>(call)].load(std::memory_order_relaxed);
    }
    void Set(Call call, Result result) {
        results_[static_cast<std::size_t>(call)].store(result, std::memory_order_relaxed);
    }
    void Clear() {
        for (auto& result : results_) {
            result.store(Result{}, std::memory_order_relaxed);
        }
    }

private:
    std::array<std::atomic<Result>, Count> results_{};
};

} // namespace winapi
