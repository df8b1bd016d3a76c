#pragma once
// Helpers of the multimedia file I/O tests: sample files, scratch files and little-endian fields.

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace mmio_test {

using Bytes = std::vector<std::uint8_t>;

inline std::string SamplePath(const std::string& name) {
    return std::string(QUILLERBY_MMIO_SAMPLES) + "/" + name;
}

// A file name in the working folder that no other test uses.
inline std::string ScratchPath(const std::string& suffix) {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("mmio_") + test->test_suite_name() + "_" + test->name() + suffix;
    for (char& c : name)
        if (c == '/')
            c = '_';
    return name;
}

inline Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline DWORD Load32(const Bytes& bytes, std::size_t at) {
    return DWORD{bytes.at(at)} | DWORD{bytes.at(at + 1)} << 8 | DWORD{bytes.at(at + 2)} << 16 |
           DWORD{bytes.at(at + 3)} << 24;
}

inline void Append(Bytes& bytes, const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
}

inline void Append32(Bytes& bytes, DWORD value) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

inline void Store32(Bytes& bytes, std::size_t at, DWORD value) {
    for (int index = 0; index < 4; ++index)
        bytes.at(at + index) = static_cast<std::uint8_t>(value >> (8 * index));
}

// Opens bytes as a memory file over their own storage.
inline HMMIO OpenMemory(Bytes& bytes, DWORD access = MMIO_READ) {
    MMIOINFO info{};
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = reinterpret_cast<HPSTR>(bytes.data());
    info.cchBuffer = static_cast<LONG>(bytes.size());
    return mmioOpenA(nullptr, &info, MMIO_ALLOCBUF | access);
}

inline HMMIO OpenFile(const std::string& path, DWORD flags, LONG bufferSize = 0) {
    MMIOINFO info{};
    info.cchBuffer = bufferSize;
    return mmioOpenA(const_cast<LPSTR>(path.c_str()), &info, flags);
}

} // namespace mmio_test
