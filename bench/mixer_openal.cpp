// Our mixer against OpenAL Soft's loopback device on the same workload, in one process: looping
// voices resampled and mixed into 16-bit stereo, one second of output per iteration. Each
// iteration times both mixers back to back (in this thread's CPU time), so the ratio
// `openal_over_ours` (above 1: ours is cheaper) sees the same machine load. Times are microseconds
// per voice per second of output.
//
// Workloads: "resample" is 16-bit mono at 22050 Hz into 44100 Hz, -3 dB, spread left to right,
// pitch 22050 + 10 * i (as bench_mixer); "mix" is 16-bit stereo at the output rate, no
// resampling; "decimate" is 16-bit mono at 44100 Hz into a 22050 Hz output, where our mixer
// low-passes before decimating (OpenAL's linear resampler does not, so that ratio is only a
// price tag).

#include "winapi/hooks/dsound.h"
#include "winapi/profile.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <benchmark/benchmark.h>
#include <dsound.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

struct Workload {
    DWORD outputRate;
    WORD channels;
    DWORD sourceRate;
    DWORD Frequency(int voice) const {
        return channels == 1 && sourceRate == 22050 ? sourceRate + 10 * voice : sourceRate;
    }
};

constexpr Workload kResample{44100, 1, 22050};
constexpr Workload kMix{44100, 2, 44100};
constexpr Workload kDecimate{22050, 1, 44100};

LONG Pan(int voice) {
    return (voice % 21 - 10) * 500;
}

std::vector<std::int16_t> Samples(const Workload& work, int voice) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(work.sourceRate) * work.channels);
    for (std::size_t s = 0; s < samples.size(); ++s) {
        samples[s] = static_cast<std::int16_t>((s * 97 + voice * 13) % 2000 - 1000);
    }
    return samples;
}

HWND BenchWindow() {
    static HWND__ window;
    return &window;
}

class OurMixer {
public:
    OurMixer(const Workload& work, int voices) : frames_(work.outputRate) {
        winapi::SelectProfile(winapi::Profile::Offline);
        if (DirectSoundCreate8(nullptr, &device_, nullptr) != DS_OK ||
            device_->SetCooperativeLevel(BenchWindow(), DSSCL_PRIORITY) != DS_OK) {
            return;
        }
        DSBUFFERDESC primaryDescription{};
        primaryDescription.dwSize = sizeof primaryDescription;
        primaryDescription.dwFlags = DSBCAPS_PRIMARYBUFFER;
        IDirectSoundBuffer* primary = nullptr;
        device_->CreateSoundBuffer(&primaryDescription, &primary, nullptr);
        WAVEFORMATEX output{WAVE_FORMAT_PCM, 2, work.outputRate, work.outputRate * 4, 4, 16, 0};
        primary->SetFormat(&output);
        primary->Release();

        const WORD align = 2 * work.channels;
        WAVEFORMATEX format{
            WAVE_FORMAT_PCM, work.channels, work.sourceRate, work.sourceRate * align, align, 16, 0};
        DSBUFFERDESC description{};
        description.dwSize = sizeof description;
        description.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN | DSBCAPS_CTRLFREQUENCY;
        description.dwBufferBytes = work.sourceRate * align;
        description.lpwfxFormat = &format;
        for (int i = 0; i < voices; ++i) {
            IDirectSoundBuffer* buffer = nullptr;
            device_->CreateSoundBuffer(&description, &buffer, nullptr);
            void* region = nullptr;
            DWORD bytes = 0;
            buffer->Lock(0, 0, &region, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
            const auto samples = Samples(work, i);
            std::memcpy(region, samples.data(), bytes);
            buffer->Unlock(region, bytes, nullptr, 0);
            buffer->SetVolume(-300);
            buffer->SetPan(Pan(i));
            buffer->SetFrequency(work.Frequency(i));
            buffer->Play(0, 0, DSBPLAY_LOOPING);
            buffers_.push_back(buffer);
        }
    }
    ~OurMixer() {
        for (IDirectSoundBuffer* buffer : buffers_) {
            buffer->Release();
        }
        if (device_ != nullptr) {
            device_->Release();
        }
    }
    bool Ready() const { return device_ != nullptr; }
    void RenderSecond() {
        benchmark::DoNotOptimize(winapi::hooks::RenderSoundMix(frames_, device_));
    }

private:
    DWORD frames_;
    IDirectSound8* device_ = nullptr;
    std::vector<IDirectSoundBuffer*> buffers_;
};

class OpenAlMixer {
public:
    OpenAlMixer(const Workload& work, int voices)
        : output_(static_cast<std::size_t>(work.outputRate) * 2) {
        if (alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback") == ALC_FALSE) {
            return;
        }
        auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
            alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
        render_ = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
            alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
        device_ = open(nullptr);
        if (device_ == nullptr) {
            return;
        }
        const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                     ALC_STEREO_SOFT,
                                     ALC_FORMAT_TYPE_SOFT,
                                     ALC_SHORT_SOFT,
                                     ALC_FREQUENCY,
                                     static_cast<ALCint>(work.outputRate),
                                     ALC_MONO_SOURCES,
                                     256,
                                     ALC_STEREO_SOURCES,
                                     256,
                                     0};
        context_ = alcCreateContext(device_, attributes);
        alcMakeContextCurrent(context_);
        const ALint linear = LinearResampler();
        const ALenum format = work.channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
        for (int i = 0; i < voices; ++i) {
            const auto samples = Samples(work, i);
            ALuint buffer = 0;
            alGenBuffers(1, &buffer);
            alBufferData(buffer, format, samples.data(),
                         static_cast<ALsizei>(samples.size() * sizeof samples[0]),
                         static_cast<ALsizei>(work.sourceRate));
            ALuint source = 0;
            alGenSources(1, &source);
            alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
            alSourcei(source, AL_LOOPING, AL_TRUE);
            alSourcef(source, AL_GAIN, std::pow(10.0f, -3.0f / 20.0f));
            alSourcef(source, AL_PITCH,
                      static_cast<float>(work.Frequency(i)) / static_cast<float>(work.sourceRate));
            // Spread from the left (-90 degrees) to the right (+90) as our pans go.
            const float angle = static_cast<float>(Pan(i)) / 5000.0f * 1.5707963f;
            alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
            alSource3f(source, AL_POSITION, std::sin(angle), 0.0f, -std::cos(angle));
            if (linear >= 0) {
                alSourcei(source, AL_SOURCE_RESAMPLER_SOFT, linear);
            }
            buffers_.push_back(buffer);
            sources_.push_back(source);
        }
        alSourcePlayv(static_cast<ALsizei>(sources_.size()), sources_.data());
        ready_ = alGetError() == AL_NO_ERROR;
    }
    ~OpenAlMixer() {
        if (context_ != nullptr) {
            alDeleteSources(static_cast<ALsizei>(sources_.size()), sources_.data());
            alDeleteBuffers(static_cast<ALsizei>(buffers_.size()), buffers_.data());
            alcMakeContextCurrent(nullptr);
            alcDestroyContext(context_);
        }
        if (device_ != nullptr) {
            alcCloseDevice(device_);
        }
    }
    bool Ready() const { return ready_; }
    void RenderSecond() {
        render_(device_, output_.data(), static_cast<ALCsizei>(output_.size() / 2));
        benchmark::DoNotOptimize(output_.data());
    }

private:
    // The linear resampler by name, where the library lets a source choose; -1 leaves the default.
    static ALint LinearResampler() {
        if (alIsExtensionPresent("AL_SOFT_source_resampler") == AL_FALSE) {
            return -1;
        }
        auto name = reinterpret_cast<LPALGETSTRINGISOFT>(alGetProcAddress("alGetStringiSOFT"));
        const ALint count = alGetInteger(AL_NUM_RESAMPLERS_SOFT);
        for (ALint i = 0; i < count; ++i) {
            if (std::strcmp(name(AL_RESAMPLER_NAME_SOFT, i), "Linear") == 0) {
                return i;
            }
        }
        return -1;
    }

    std::vector<std::int16_t> output_;
    LPALCRENDERSAMPLESSOFT render_ = nullptr;
    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
    std::vector<ALuint> buffers_;
    std::vector<ALuint> sources_;
    bool ready_ = false;
};

// CPU time of this thread: both mixers render in the calling thread, and on a machine shared with
// other work the wall clock would count the time others took.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void Compare(benchmark::State& state, const Workload& work) {
    const auto voices = static_cast<int>(state.range(0));
    OurMixer ours(work, voices);
    OpenAlMixer theirs(work, voices);
    if (!ours.Ready() || !theirs.Ready()) {
        state.SkipWithError(ours.Ready() ? "no OpenAL loopback device" : "no sound device");
        return;
    }
    double oursSeconds = 0.0;
    double theirSeconds = 0.0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        ours.RenderSecond();
        const double middle = ThreadSeconds();
        theirs.RenderSecond();
        const double end = ThreadSeconds();
        oursSeconds += middle - start;
        theirSeconds += end - middle;
    }
    const double perVoice = 1e6 / (static_cast<double>(state.iterations()) * voices);
    state.counters["ours_us"] = oursSeconds * perVoice;
    state.counters["openal_us"] = theirSeconds * perVoice;
    state.counters["openal_over_ours"] = theirSeconds / oursSeconds;
}

void Resample(benchmark::State& state) {
    Compare(state, kResample);
}
void PureMix(benchmark::State& state) {
    Compare(state, kMix);
}
void Decimate(benchmark::State& state) {
    Compare(state, kDecimate);
}

BENCHMARK(Resample)->Arg(1)->Arg(16)->Arg(128)->Unit(benchmark::kMillisecond);
BENCHMARK(PureMix)->Arg(1)->Arg(16)->Arg(128)->Unit(benchmark::kMillisecond);
BENCHMARK(Decimate)->Arg(1)->Arg(16)->Arg(128)->Unit(benchmark::kMillisecond);

} // namespace
