#pragma once
// Helpers of the sound tests: temporary folders, running sox, building RIFF files byte by byte,
// walking the chunks of a file, and collecting the trace messages of failed calls.

#include <windows.h>

#include <mmsystem.h>

#include <cstdint>
#include <string>
#include <vector>

namespace wavetest {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);

// Runs a shell command with its output discarded; true when it exits with 0.
bool RunQuietly(const std::string& command);
bool SoxAvailable();
// Runs a shell command and returns what it writes to its standard output.
std::string Output(const std::string& command);

void PutU16(Bytes& out, std::uint16_t value);
void PutU32(Bytes& out, std::uint32_t value);
void PutTag(Bytes& out, const char* tag);
std::uint16_t GetU16(const Bytes& in, std::size_t at);
std::uint32_t GetU32(const Bytes& in, std::size_t at);

// A chunk with its header and a pad byte after an odd body; the declared size may be forced.
Bytes Chunk(const char* id, const Bytes& body);
Bytes ChunkDeclaring(const char* id, std::uint32_t declaredSize, const Bytes& body);
// A "RIFF" file of form "WAVE" around the given chunks, with the correct size.
Bytes RiffWave(const std::vector<Bytes>& chunks);
// The 16 bytes of a "fmt " chunk.
Bytes PcmFormatBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                    std::uint16_t bits);
// A whole, plain PCM file holding the given sample bytes.
Bytes PcmWave(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, const Bytes& data);
// Sample bytes 0, 1, 2, ... wrapping at 251, so that misplaced bytes show.
Bytes Ramp(std::size_t size);

struct ChunkView {
    std::string id;
    std::uint32_t size;
    std::size_t bodyOffset;
};
// The sub-chunks of a RIFF file in order, each padded to even length.
std::vector<ChunkView> SubChunks(const Bytes& riff);

WAVEFORMATEX PcmFormat(WORD channels, DWORD rate, WORD bits);

// Collects the messages of TraceError lines while it lives.
class TraceLog {
public:
    TraceLog();
    ~TraceLog();
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;
    std::vector<std::string> Messages() const;
    void Clear() { pieces_.clear(); }

private:
    std::vector<std::string> pieces_;
};

} // namespace wavetest
