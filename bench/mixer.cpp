// Cost of the sound mixer per voice per second of audio: 1, 16 and 128 looping voices of 16-bit
// mono at 22050 Hz, resampled and mixed into a 44100 Hz 16-bit stereo output, rendered offline.
// The "per_voice_second" counter is the time one voice costs for one second of output.

#include "winapi/hooks/dsound.h"
#include "winapi/profile.h"

#include <benchmark/benchmark.h>
#include <dsound.h>

#include <vector>

namespace {

constexpr DWORD kOutputRate = 44100;

HWND BenchWindow() {
    static HWND__ window;
    return &window;
}

void MixVoices(benchmark::State& state) {
    const auto voices = static_cast<int>(state.range(0));
    winapi::SelectProfile(winapi::Profile::Offline);
    IDirectSound8* device = nullptr;
    if (DirectSoundCreate8(nullptr, &device, nullptr) != DS_OK ||
        device->SetCooperativeLevel(BenchWindow(), DSSCL_PRIORITY) != DS_OK) {
        state.SkipWithError("no sound device");
        return;
    }
    DSBUFFERDESC primaryDescription{};
    primaryDescription.dwSize = sizeof primaryDescription;
    primaryDescription.dwFlags = DSBCAPS_PRIMARYBUFFER;
    IDirectSoundBuffer* primary = nullptr;
    device->CreateSoundBuffer(&primaryDescription, &primary, nullptr);
    WAVEFORMATEX output{WAVE_FORMAT_PCM, 2, kOutputRate, kOutputRate * 4, 4, 16, 0};
    primary->SetFormat(&output);
    primary->Release();

    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN | DSBCAPS_CTRLFREQUENCY;
    description.dwBufferBytes = 22050 * 2;
    description.lpwfxFormat = &format;
    std::vector<IDirectSoundBuffer*> buffers;
    for (int i = 0; i < voices; ++i) {
        IDirectSoundBuffer* buffer = nullptr;
        device->CreateSoundBuffer(&description, &buffer, nullptr);
        void* region = nullptr;
        DWORD bytes = 0;
        buffer->Lock(0, 0, &region, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
        auto* samples = static_cast<std::int16_t*>(region);
        for (DWORD s = 0; s < bytes / 2; ++s) {
            samples[s] = static_cast<std::int16_t>((s * 97 + i * 13) % 2000 - 1000);
        }
        buffer->Unlock(region, bytes, nullptr, 0);
        buffer->SetVolume(-300);
        buffer->SetPan((i % 21 - 10) * 500);
        buffer->SetFrequency(22050 + i * 10);
        buffer->Play(0, 0, DSBPLAY_LOOPING);
        buffers.push_back(buffer);
    }

    for (auto _ : state) {
        // One second of output per iteration.
        benchmark::DoNotOptimize(winapi::hooks::RenderSoundMix(kOutputRate, device));
    }
    state.counters["per_voice_second"] = benchmark::Counter(
        voices, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);

    for (IDirectSoundBuffer* buffer : buffers) {
        buffer->Release();
    }
    device->Release();
}

BENCHMARK(MixVoices)->Arg(1)->Arg(16)->Arg(128)->Unit(benchmark::kMillisecond);

} // namespace
