#pragma once
// The whole X screen as its user sees it: captured with xwd, and read from xwd's dump format, a
// header of big-endian 32-bit fields, the window's name, the colour map, then the rows of pixels.

#include "game_process.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

struct ScreenShot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0xRRGGBB, row after row

    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Only true-colour dumps of 8 bits a channel are read (a virtual display's are); the colour map
// they carry is then the identity and is skipped. Empty for anything else.
inline std::optional<ScreenShot> ReadXwd(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
    if (bytes.size() < 100) {
        return std::nullopt;
    }
    auto field = [&](std::size_t index) {
        const unsigned char* at = &bytes[index * 4];
        return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 |
               std::uint32_t{at[3]};
    };
    const std::uint32_t headerSize = field(0), format = field(2), width = field(4),
                        height = field(5), byteOrder = field(7), bitsPerPixel = field(11),
                        bytesPerLine = field(12), colours = field(19);
    constexpr std::uint32_t zPixmap = 2;
    if (format != zPixmap || (bitsPerPixel != 24 && bitsPerPixel != 32) || field(14) != 0xFF0000 ||
        field(15) != 0x00FF00 || field(16) != 0x0000FF || width > 16384 || height > 16384) {
        return std::nullopt;
    }
    const std::size_t start = headerSize + 12 * std::size_t{colours};
    if (bytes.size() < start + std::size_t{height} * bytesPerLine) {
        return std::nullopt;
    }
    ScreenShot shot{static_cast<int>(width), static_cast<int>(height), {}};
    shot.pixels.reserve(std::size_t{width} * height);
    const std::size_t pixelBytes = bitsPerPixel / 8;
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < width; ++x) {
            const unsigned char* pixel = &bytes[start + y * bytesPerLine + x * pixelBytes];
            std::uint32_t value = 0;
            for (std::size_t i = 0; i < pixelBytes; ++i) {
                const std::size_t significance = byteOrder == 0 ? i : pixelBytes - 1 - i;
                value |= std::uint32_t{pixel[i]} << (8 * significance);
            }
            shot.pixels.push_back(value & 0xFFFFFF);
        }
    }
    return shot;
}

// Empty when xwd cannot capture the display.
inline std::optional<ScreenShot> CaptureScreen(const std::string& display,
                                               const std::string& file) {
    Child xwd({"xwd", "-root", "-display", display, "-silent", "-out", file}, nullptr, environ);
    if (!xwd.Started() || xwd.WaitForExit(std::chrono::seconds(30)) != 0) {
        return std::nullopt;
    }
    return ReadXwd(file);
}
