#include "input/recorder.h"

#include "winapi/input_script.h"

#include <bitset>
#include <cstdio>
#include <memory>

namespace winapi::input {
namespace {

// Equal reads in a row become one line; each finished line is flushed at once, so that a crash
// loses at most the run that was still going on.
class Recorder {
public:
    explicit Recorder(std::FILE* file) : file_(file) {
        std::fputs("# Keys held, frame by frame (keyboard reads): COUNT KEY...\n"
                   "# Replay with WINAPI_INPUT_SCRIPT=<this file>.\n",
                   file_);
        std::fflush(file_);
    }
    ~Recorder() {
        WriteRun();
        if (closed_) {
            std::fputs("close\n", file_);
        }
        std::fclose(file_);
    }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void Add(const std::array<std::uint8_t, 256>& keys) {
        std::bitset<256> down;
        for (std::size_t key = 1; key < keys.size(); ++key) {
            down[key] = (keys[key] & 0x80) != 0;
        }
        if (frames_ > 0 && (down != keys_ || frames_ == kMaxScriptFrames)) {
            WriteRun();
        }
        keys_ = down;
        ++frames_;
    }

    void Close() { closed_ = true; }

private:
    void WriteRun() {
        if (frames_ == 0) {
            return;
        }
        std::fprintf(file_, "%u", static_cast<unsigned>(frames_));
        for (std::size_t key = 1; key < keys_.size(); ++key) {
            if (keys_[key]) {
                std::fprintf(file_, " %zu", key);
            }
        }
        std::fputc('\n', file_);
        std::fflush(file_);
        frames_ = 0;
    }

    std::FILE* file_;
    std::bitset<256> keys_;
    std::uint32_t frames_ = 0;
    bool closed_ = false;
};

std::unique_ptr<Recorder> recorder;

} // namespace

bool RecordKeysTo(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        return false;
    }
    recorder = std::make_unique<Recorder>(file);
    return true;
}

void RecordKeyboardRead(const std::array<std::uint8_t, 256>& keys) {
    if (recorder) {
        recorder->Add(keys);
    }
}

void RecordWindowClose() {
    if (recorder) {
        recorder->Close();
    }
}

void FinishRecording() {
    recorder.reset();
}

} // namespace winapi::input
