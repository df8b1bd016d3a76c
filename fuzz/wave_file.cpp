// Feeds arbitrary bytes to WaveFile as a file on disk, as a WAVE resource (a memory file) and as
// a caller's memory block. Whatever opens is read to its end in uneven pieces and rewound; a
// readable PCM wave is written out again and must read back the same.

#include "sound/wave_file.h"
#include "winapi/hooks/debug.h"
#include "winapi/resources.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string TempPath(const char* role) {
    return "/tmp/quillerby-fuzz-wave-" + std::to_string(getpid()) + "-" + role + ".wav";
}

// Reads the whole data in pieces of 1, 7, 256 and 4093 bytes; stops at the end or a failure.
Bytes ReadAll(WaveFile& wave) {
    static const DWORD pieces[] = {1, 7, 256, 4093};
    Bytes all;
    std::uint8_t piece[4093];
    for (int i = 0; all.size() <= (1u << 24); ++i) {
        DWORD wanted = pieces[i % 4];
        DWORD read = 0;
        if (FAILED(wave.Read(piece, wanted, &read)) || read == 0) {
            break;
        }
        if (read > wanted) {
            __builtin_trap();
        }
        all.insert(all.end(), piece, piece + read);
    }
    return all;
}

void WriteAndReadBack(const WAVEFORMATEX& format, const Bytes& samples) {
    std::string path = TempPath("copy");
    {
        WaveFile out;
        if (out.Open(path.c_str(), &format, WAVEFILE_WRITE) != S_OK) {
            return;
        }
        UINT written = 0;
        if (!samples.empty() &&
            (out.Write(static_cast<UINT>(samples.size()), samples.data(), &written) != S_OK ||
             written != samples.size())) {
            __builtin_trap();
        }
        if (out.Close() != S_OK) {
            __builtin_trap();
        }
    }
    WaveFile back;
    if (back.Open(path.c_str(), nullptr, WAVEFILE_READ) != S_OK ||
        std::memcmp(back.m_pwfx, &format, 16) != 0 || back.DataSize() != samples.size() ||
        ReadAll(back) != samples) {
        __builtin_trap();
    }
}

void ReadNamed(const char* name, bool writeBack) {
    WaveFile wave;
    if (wave.Open(name, nullptr, WAVEFILE_READ) != S_OK) {
        return;
    }
    Bytes first = ReadAll(wave);
    if (first.size() > wave.DataSize()) {
        __builtin_trap();
    }
    if (wave.ResetFile() == S_OK && first.size() == wave.DataSize() && ReadAll(wave) != first) {
        __builtin_trap();
    }
    if (writeBack && first.size() == wave.DataSize() &&
        wave.m_pwfx->wFormatTag == WAVE_FORMAT_PCM) {
        WriteAndReadBack(*wave.m_pwfx, first);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Traces of refused input are expected by the thousand; keep them off the terminal.
    static std::vector<std::string> traces;
    winapi::hooks::CaptureDebugOutput(&traces);
    traces.clear();

    Bytes input(data, data + size);
    std::string path = TempPath("input");
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(input.data(), 1, input.size(), file);
        std::fclose(file);
        ReadNamed(path.c_str(), true);
        std::remove(path.c_str());
        std::remove(TempPath("copy").c_str());
    }

    // The resource keeps pointing at this copy until the next input replaces it.
    static Bytes resource;
    resource = input;
    winapi::RegisterResource("WAVE", "fuzz-wave-resource", resource.data(), resource.size());
    ReadNamed("fuzz-wave-resource", false);

    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 8000, 8000, 1, 8, 0};
    WaveFile memory;
    memory.OpenMemory(input.data(), static_cast<ULONG>(input.size()), &format, WAVEFILE_READ);
    if (ReadAll(memory) != input) {
        __builtin_trap();
    }
    return 0;
}
