#include "wave_fixtures.h"

#include "winapi/hooks/debug.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace wavetest {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillerby-sound-XXXXXX");
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "no temporary folder";
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

bool RunQuietly(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

bool SoxAvailable() {
    return RunQuietly("sox --version");
}

std::string Output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char piece[256];
        while (std::size_t got = std::fread(piece, 1, sizeof piece, pipe)) {
            text.append(piece, got);
        }
        pclose(pipe);
    }
    return text;
}

void PutU16(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(Bytes& out, std::uint32_t value) {
    PutU16(out, static_cast<std::uint16_t>(value));
    PutU16(out, static_cast<std::uint16_t>(value >> 16));
}

// Byte by byte, like the numbers: g++ 12 reports a range insert into an empty vector as an
// overflow when it optimises with -fsanitize=thread.
void PutTag(Bytes& out, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(tag[i]));
    }
}

std::uint16_t GetU16(const Bytes& in, std::size_t at) {
    return static_cast<std::uint16_t>(in.at(at) | in.at(at + 1) << 8);
}

std::uint32_t GetU32(const Bytes& in, std::size_t at) {
    return GetU16(in, at) | static_cast<std::uint32_t>(GetU16(in, at + 2)) << 16;
}

Bytes ChunkDeclaring(const char* id, std::uint32_t declaredSize, const Bytes& body) {
    Bytes out;
    PutTag(out, id);
    PutU32(out, declaredSize);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) {
        out.push_back(0);
    }
    return out;
}

Bytes Chunk(const char* id, const Bytes& body) {
    return ChunkDeclaring(id, static_cast<std::uint32_t>(body.size()), body);
}

Bytes RiffWave(const std::vector<Bytes>& chunks) {
    Bytes inner;
    PutTag(inner, "WAVE");
    for (const Bytes& chunk : chunks) {
        inner.insert(inner.end(), chunk.begin(), chunk.end());
    }
    return Chunk("RIFF", inner);
}

Bytes PcmFormatBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                    std::uint16_t bits) {
    Bytes out;
    std::uint16_t blockAlign = static_cast<std::uint16_t>(channels * ((bits + 7) / 8));
    PutU16(out, tag);
    PutU16(out, channels);
    PutU32(out, rate);
    PutU32(out, rate * blockAlign);
    PutU16(out, blockAlign);
    PutU16(out, bits);
    return out;
}

Bytes PcmWave(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, const Bytes& data) {
    return RiffWave(
        {Chunk("fmt ", PcmFormatBody(WAVE_FORMAT_PCM, channels, rate, bits)), Chunk("data", data)});
}

Bytes Ramp(std::size_t size) {
    Bytes out(size);
    for (std::size_t i = 0; i < size; ++i) {
        out[i] = static_cast<std::uint8_t>(i % 251);
    }
    return out;
}

std::vector<ChunkView> SubChunks(const Bytes& riff) {
    std::vector<ChunkView> chunks;
    std::size_t at = 12;
    while (at + 8 <= riff.size()) {
        ChunkView chunk{std::string(riff.begin() + at, riff.begin() + at + 4), GetU32(riff, at + 4),
                        at + 8};
        chunks.push_back(chunk);
        at += 8 + chunk.size + chunk.size % 2;
    }
    return chunks;
}

WAVEFORMATEX PcmFormat(WORD channels, DWORD rate, WORD bits) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = bits;
    format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    return format;
}

TraceLog::TraceLog() {
    winapi::hooks::CaptureDebugOutput(&pieces_);
}

TraceLog::~TraceLog() {
    winapi::hooks::CaptureDebugOutput(nullptr);
}

// The trace of one failed call arrives in pieces and ends with a newline; its line reads
// "file(line): message hr=NAME (0x...)".
std::vector<std::string> TraceLog::Messages() const {
    std::string all;
    for (const std::string& piece : pieces_) {
        all += piece;
    }
    std::vector<std::string> messages;
    for (std::size_t at = 0, end; (end = all.find('\n', at)) != std::string::npos; at = end + 1) {
        std::string line = all.substr(at, end - at);
        std::size_t start = line.find("): ");
        std::size_t code = line.rfind(" hr=");
        if (start != std::string::npos && code != std::string::npos && code > start) {
            messages.push_back(line.substr(start + 3, code - start - 3));
        }
    }
    return messages;
}

} // namespace wavetest
