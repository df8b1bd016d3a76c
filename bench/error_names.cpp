// ErrorName over random codes, half of them in the table and half not, so that lookups that hit
// and lookups that fall through to "Unknown" are both measured.

#include "errors/error_names.h"
#include "errors/error_tables.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

std::vector<HRESULT> MixedCodes(std::size_t count) {
    const auto table = error_tables::NarrowNames();
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::size_t> pickEntry(0, table.size() - 1);
    std::uniform_int_distribution<std::uint32_t> anyCode;
    std::vector<HRESULT> codes;
    codes.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t code = i % 2 == 0 ? table[pickEntry(random)].code : anyCode(random);
        codes.push_back(static_cast<HRESULT>(code));
    }
    return codes;
}

void BM_ErrorName(benchmark::State& state) {
    const std::vector<HRESULT> codes = MixedCodes(4096);
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ErrorName(codes[next]));
        next = (next + 1) % codes.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ErrorName);

void BM_ErrorDescriptionW(benchmark::State& state) {
    const std::vector<HRESULT> codes = MixedCodes(4096);
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ErrorDescriptionW(codes[next]));
        next = (next + 1) % codes.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ErrorDescriptionW);

} // namespace
