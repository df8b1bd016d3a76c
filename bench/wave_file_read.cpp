// WaveFile::Read throughput over a 64 MiB wave file, against libsndfile reading the same file's
// raw sample bytes in the same run. Both read in 64 KiB pieces from the page cache.
// ReadRatio reports sndfile time / WaveFile time: above 1 means WaveFile is faster.

#include "sound/wave_file.h"

#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t dataBytes = 64u << 20;
constexpr std::size_t pieceBytes = 64u << 10;

// A 16-bit stereo 44100 Hz file of noise-like samples, made once per run and removed at exit.
struct TemporaryWave {
    TemporaryWave();
    ~TemporaryWave() { std::remove(path.c_str()); }
    std::string path;
};

TemporaryWave::TemporaryWave() : path("/tmp/quillerby-bench-" + std::to_string(getpid()) + ".wav") {
    FILE* file = std::fopen(path.c_str(), "wb");
    auto put = [file](const void* bytes, std::size_t size) { std::fwrite(bytes, 1, size, file); };
    auto put32 = [&put](std::uint32_t value) { put(&value, 4); };
    auto put16 = [&put](std::uint16_t value) { put(&value, 2); };
    put("RIFF", 4);
    put32(36 + dataBytes);
    put("WAVEfmt ", 8);
    put32(16);
    put16(1);
    put16(2);
    put32(44100);
    put32(44100 * 4);
    put16(4);
    put16(16);
    put("data", 4);
    put32(dataBytes);
    std::vector<std::uint16_t> piece(pieceBytes / 2);
    std::uint32_t state = 1;
    for (std::uint32_t written = 0; written < dataBytes; written += pieceBytes) {
        for (auto& sample : piece) {
            state = state * 1664525u + 1013904223u;
            sample = static_cast<std::uint16_t>(state >> 16);
        }
        put(piece.data(), pieceBytes);
    }
    std::fclose(file);
}

const std::string& WavePath() {
    static const TemporaryWave wave;
    return wave.path;
}

std::uint64_t ReadWithWaveFile() {
    WaveFile wave;
    if (wave.Open(WavePath().c_str(), nullptr, WAVEFILE_READ) != S_OK) {
        return 0;
    }
    std::vector<BYTE> piece(pieceBytes);
    std::uint64_t total = 0;
    DWORD read = 0;
    while (SUCCEEDED(wave.Read(piece.data(), pieceBytes, &read)) && read > 0) {
        total += read;
        benchmark::DoNotOptimize(piece.data());
    }
    return total;
}

std::uint64_t ReadWithSndfile() {
    SF_INFO info{};
    SNDFILE* file = sf_open(WavePath().c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return 0;
    }
    std::vector<BYTE> piece(pieceBytes);
    std::uint64_t total = 0;
    while (sf_count_t read = sf_read_raw(file, piece.data(), pieceBytes)) {
        total += static_cast<std::uint64_t>(read);
        benchmark::DoNotOptimize(piece.data());
    }
    sf_close(file);
    return total;
}

void CheckWhole(benchmark::State& state, std::uint64_t bytes) {
    if (bytes != dataBytes) {
        state.SkipWithError("the file was not read whole");
    }
}

void WaveFileRead(benchmark::State& state) {
    ReadWithWaveFile(); // into the page cache
    for (auto _ : state) {
        CheckWhole(state, ReadWithWaveFile());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * dataBytes);
}

void SndfileRead(benchmark::State& state) {
    ReadWithSndfile();
    for (auto _ : state) {
        CheckWhole(state, ReadWithSndfile());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * dataBytes);
}

// Both readers in turn in every iteration, so the ratio compares them under the same load.
void ReadRatio(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    ReadWithWaveFile();
    double waveSeconds = 0;
    double sndfileSeconds = 0;
    auto timed = [&state](std::uint64_t (*read)(), double* seconds) {
        auto start = Clock::now();
        CheckWhole(state, read());
        *seconds += std::chrono::duration<double>(Clock::now() - start).count();
    };
    // The reader that goes second finds the caches as the first left them: they take turns.
    bool waveFileFirst = true;
    for (auto _ : state) {
        if (waveFileFirst) {
            timed(ReadWithWaveFile, &waveSeconds);
            timed(ReadWithSndfile, &sndfileSeconds);
        } else {
            timed(ReadWithSndfile, &sndfileSeconds);
            timed(ReadWithWaveFile, &waveSeconds);
        }
        waveFileFirst = !waveFileFirst;
    }
    double mebibytes = static_cast<double>(state.iterations()) * dataBytes / (1 << 20);
    state.counters["wavefile_MiB_per_s"] = mebibytes / waveSeconds;
    state.counters["sndfile_MiB_per_s"] = mebibytes / sndfileSeconds;
    state.counters["sndfile_time_over_wavefile_time"] = sndfileSeconds / waveSeconds;
}

BENCHMARK(WaveFileRead)->Unit(benchmark::kMillisecond);
BENCHMARK(SndfileRead)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadRatio)->Unit(benchmark::kMillisecond);

} // namespace
