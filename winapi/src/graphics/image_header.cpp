#include "graphics/image_header.h"

#include "graphics/image.h"

#include <algorithm>
#include <array>

namespace winapi::graphics {
namespace {

// The largest ratio of output to input that deflate can reach is about 1032 to 1.
constexpr std::uint64_t kMaxDeflateRatio = 1100;
// Run-length BMP and JPEG have no such limit: a few bytes can stand for a blank picture of any
// size. Up to this many pixels any file may claim; above it the file must hold at least a byte
// for every kPixelsPerByte pixels, which no real picture of that size comes near.
constexpr std::uint64_t kUnboundedPixels = std::uint64_t{4096} * 4096;
constexpr std::uint64_t kPixelsPerByte = 1024;

std::uint32_t Little(std::span<const std::uint8_t> b, std::size_t at, int size) {
    std::uint32_t v = 0;
    for (int i = 0; i < size; ++i) {
        v |= static_cast<std::uint32_t>(b[at + i]) << (8 * i);
    }
    return v;
}

std::uint32_t Big(std::span<const std::uint8_t> b, std::size_t at, int size) {
    std::uint32_t v = 0;
    for (int i = 0; i < size; ++i) {
        v = v << 8 | b[at + i];
    }
    return v;
}

bool SidesFit(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
}

bool PixelsPlausible(std::int64_t width, std::int64_t height, std::uint64_t fileSize) {
    const auto pixels = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    return pixels <= kUnboundedPixels || pixels <= fileSize * kPixelsPerByte;
}

bool BmpPlausible(std::span<const std::uint8_t> b, std::uint64_t fileSize) {
    if (b.size() < 26) {
        return false;
    }
    const std::uint32_t infoSize = Little(b, 14, 4);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
    if (infoSize == 12) { // the oldest header: 16-bit sides
        width = Little(b, 18, 2);
        height = Little(b, 20, 2);
        bits = Little(b, 24, 2);
    } else if (infoSize >= 40 && b.size() >= 34) {
        width = static_cast<std::int32_t>(Little(b, 18, 4));
        height = static_cast<std::int32_t>(Little(b, 22, 4));
        height = height < 0 ? -height : height; // negative: rows run top down
        bits = Little(b, 28, 2);
        compression = Little(b, 30, 4);
    } else {
        return false;
    }
    if (!SidesFit(width, height)) {
        return false;
    }
    constexpr std::array<std::uint32_t, 3> kUnpacked = {0, 3, 6}; // plain and bit-field rows
    if (std::find(kUnpacked.begin(), kUnpacked.end(), compression) == kUnpacked.end()) {
        return PixelsPlausible(width, height, fileSize); // run-length and embedded forms
    }
    constexpr std::array<std::uint32_t, 7> kDepths = {1, 2, 4, 8, 16, 24, 32};
    if (std::find(kDepths.begin(), kDepths.end(), bits) == kDepths.end()) {
        return false;
    }
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    return rowBytes * static_cast<std::uint64_t>(height) <= fileSize;
}

bool PngPlausible(std::span<const std::uint8_t> b, std::uint64_t fileSize) {
    // Signature, then the IHDR chunk: length, type, width, height, depth, colour type.
    if (b.size() < 26 || b[12] != 'I' || b[13] != 'H' || b[14] != 'D' || b[15] != 'R') {
        return false;
    }
    const std::int64_t width = Big(b, 16, 4);
    const std::int64_t height = Big(b, 20, 4);
    if (!SidesFit(width, height)) {
        return false;
    }
    const std::uint32_t depth = b[24];
    std::uint32_t channels = 0;
    switch (b[25]) {
    case 0: // grey
    case 3: // palette
        channels = 1;
        break;
    case 4: // grey and alpha
        channels = 2;
        break;
    case 2: // RGB
        channels = 3;
        break;
    case 6: // RGBA
        channels = 4;
        break;
    default:
        return false;
    }
    // Each row's filter byte and bytes, before compression; interlacing only adds to them.
    const std::uint64_t rowBytes =
        1 + (static_cast<std::uint64_t>(width) * channels * std::max(depth, 1u) + 7) / 8;
    return rowBytes * static_cast<std::uint64_t>(height) <= fileSize * kMaxDeflateRatio;
}

// Walks the segments up to a frame header; passes when none is in the bytes at hand.
bool JpegPlausible(std::span<const std::uint8_t> b, std::uint64_t fileSize) {
    std::size_t at = 2;
    while (at + 4 <= b.size()) {
        if (b[at] != 0xFF) {
            return true; // not a segment: the decoder will say so
        }
        const std::uint8_t marker = b[at + 1];
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        const std::uint32_t length = Big(b, at + 2, 2);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > b.size()) {
                return true;
            }
            const std::int64_t width = Big(b, at + 7, 2);
            const std::int64_t height = Big(b, at + 5, 2);
            return SidesFit(width, height) && PixelsPlausible(width, height, fileSize);
        }
        if (length < 2) {
            return true;
        }
        at += 2 + length;
    }
    return true;
}

} // namespace

bool ImageHeaderPlausible(std::span<const std::uint8_t> start, std::uint64_t fileSize) {
    if (start.size() >= 2 && start[0] == 'B' && start[1] == 'M') {
        return BmpPlausible(start, fileSize);
    }
    constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P',  'N',  'G',
                                                           '\r', '\n', 0x1A, '\n'};
    if (start.size() >= kPngSignature.size() &&
        std::equal(kPngSignature.begin(), kPngSignature.end(), start.begin())) {
        return PngPlausible(start, fileSize);
    }
    if (start.size() >= 3 && start[0] == 0xFF && start[1] == 0xD8 && start[2] == 0xFF) {
        return JpegPlausible(start, fileSize);
    }
    return true;
}

} // namespace winapi::graphics
