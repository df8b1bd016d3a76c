#pragma once
// Reads the uncompressed 24-bit bitmaps that tools/gen_assets.py writes, as 0xAARRGGBB pixels with
// the alpha byte set, so that tests can compare drawn frames with the pictures.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // top row first

    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

inline Bitmap ReadBitmap(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
    auto word = [&](std::size_t at) {
        return static_cast<std::uint32_t>(bytes.at(at) | bytes.at(at + 1) << 8 |
                                          bytes.at(at + 2) << 16 | bytes.at(at + 3) << 24);
    };
    Bitmap bitmap;
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || (word(28) & 0xFFFF) != 24) {
        return bitmap;
    }
    const std::size_t offset = word(10);
    bitmap.width = static_cast<int>(word(18));
    bitmap.height = static_cast<int>(word(22));
    const std::size_t rowSize = (static_cast<std::size_t>(bitmap.width) * 3 + 3) & ~std::size_t{3};
    bitmap.pixels.resize(static_cast<std::size_t>(bitmap.width) *
                         static_cast<std::size_t>(bitmap.height));
    for (int y = 0; y < bitmap.height; ++y) {
        const std::size_t row = offset + rowSize * static_cast<std::size_t>(bitmap.height - 1 - y);
        for (int x = 0; x < bitmap.width; ++x) {
            const std::size_t at = row + static_cast<std::size_t>(x) * 3;
            bitmap.pixels[static_cast<std::size_t>(y * bitmap.width + x)] =
                0xFF000000u | static_cast<std::uint32_t>(bytes.at(at + 2)) << 16 |
                static_cast<std::uint32_t>(bytes.at(at + 1)) << 8 | bytes.at(at);
        }
    }
    return bitmap;
}

// How many pixels of a 1024 by 768 picture `pixel(x, y)` differ from what the level should look
// like with the biker's top-left corner at (bikerX, bikerY). Alpha is ignored.
template <typename PixelAt, typename TileNumberAt>
int CountMismatches(PixelAt pixel, TileNumberAt tileNumber, const Bitmap& atlas,
                    const Bitmap& biker, int bikerX, int bikerY) {
    constexpr std::uint32_t magenta = 0xFFFF00FF;
    int mismatches = 0;
    for (int y = 0; y < 768; ++y) {
        for (int x = 0; x < 1024; ++x) {
            const int number = tileNumber(x / 32, y / 32);
            std::uint32_t expected = atlas.At(1 + 33 * ((number - 1) % 4) + x % 32,
                                              1 + 33 * ((number - 1) / 4) + y % 32);
            const int bx = x - bikerX;
            const int by = y - bikerY;
            if (bx >= 0 && by >= 0 && bx < biker.width && by < biker.height &&
                biker.At(bx, by) != magenta) {
                expected = biker.At(bx, by);
            }
            if ((pixel(x, y) & 0xFFFFFF) != (expected & 0xFFFFFF)) {
                ++mismatches;
            }
        }
    }
    return mismatches;
}
