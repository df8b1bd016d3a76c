#include "graphics/draw_image.h"

#include "graphics/pixel_ops.h"
#include "graphics/pixel_rows.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace winapi::graphics {
namespace {

constexpr std::uint32_t kAlphaBits = 0xFF000000u;
constexpr std::uint32_t kNoTint = 0xFFFFFFFFu;

std::uint32_t Channel(std::uint32_t color, int shift) {
    return (color >> shift) & 0xFFu;
}

// a * b / 255, rounded, for channel values.
std::uint32_t Scale(std::uint32_t a, std::uint32_t b) {
    return (a * b + 127u) / 255u;
}

std::uint32_t Modulate(std::uint32_t texel, std::uint32_t tint) {
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        result |= Scale(Channel(texel, shift), Channel(tint, shift)) << shift;
    }
    return result;
}

// The source laid over the target by the source's alpha, each channel rounded.
std::uint32_t Mix(std::uint32_t source, std::uint32_t target) {
    std::uint32_t alpha = source >> 24;
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        std::uint32_t mixed =
            (Channel(source, shift) * alpha + Channel(target, shift) * (255u - alpha) + 127u) /
            255u;
        result |= mixed << shift;
    }
    return result;
}

// Sprites are mostly opaque or transparent texels, so opaque runs are copied whole, transparent
// texels left out, and only the others mixed with the target.
void BlendRow(std::uint32_t* out, const std::uint32_t* in, int count, std::uint32_t targetAlpha) {
    int i = 0;
    while (i < count) {
        std::uint32_t alpha = in[i] >> 24;
        if (alpha == 0xFFu) {
            int end = i + 1;
            while (end < count && (in[end] >> 24) == 0xFFu) {
                ++end;
            }
            std::memcpy(out + i, in + i, static_cast<std::size_t>(end - i) * sizeof *in);
            i = end;
            continue;
        }
        if (alpha != 0) {
            out[i] = Mix(in[i], out[i]) | targetAlpha;
        }
        ++i;
    }
}

void DrawRow(std::uint32_t* out, const std::uint32_t* in, int count, std::uint32_t sourceAlpha,
             std::uint32_t targetAlpha, bool blend) {
    if (blend && sourceAlpha == 0) {
        BlendRow(out, in, count, targetAlpha);
    } else {
        // Every texel replaces the target, as it is opaque or nothing blends.
        CopyRowSetting(out, in, count, sourceAlpha | targetAlpha);
    }
}

// Tinted texels are made a stretch at a time on the stack, then drawn as untinted ones.
void DrawTintedRow(std::uint32_t* out, const std::uint32_t* in, int count,
                   std::uint32_t sourceAlpha, std::uint32_t targetAlpha, std::uint32_t tint,
                   bool blend) {
    std::array<std::uint32_t, 256> tinted;
    for (int done = 0; done < count;) {
        int stretch = std::min<int>(count - done, static_cast<int>(tinted.size()));
        for (int i = 0; i < stretch; ++i) {
            tinted[static_cast<std::size_t>(i)] = Modulate(in[done + i] | sourceAlpha, tint);
        }
        DrawRow(out + done, tinted.data(), stretch, 0, targetAlpha, blend);
        done += stretch;
    }
}

} // namespace

void DrawImage(Image& target, const Image& source, const PixelRect& sourceArea, int x, int y,
               std::uint32_t tint, bool blend) {
    PixelRect from = Intersect(sourceArea, WholeImage(source));
    if (from.Empty()) {
        return;
    }
    // Where the clipped source lands, in target pixels, and then what of it the target holds.
    // Positions are 64-bit so that far-off sprites cannot overflow.
    long long left = static_cast<long long>(x) + (from.left - sourceArea.left);
    long long top = static_cast<long long>(y) + (from.top - sourceArea.top);
    long long right = std::min<long long>(left + from.Width(), target.width);
    long long bottom = std::min<long long>(top + from.Height(), target.height);
    long long firstX = std::max<long long>(left, 0);
    long long firstY = std::max<long long>(top, 0);
    if (firstX >= right || firstY >= bottom) {
        return;
    }
    const int count = static_cast<int>(right - firstX);
    const int sourceX = from.left + static_cast<int>(firstX - left);
    const std::uint32_t sourceAlpha = source.opaque ? kAlphaBits : 0;
    const std::uint32_t targetAlpha = target.opaque ? kAlphaBits : 0;
    for (long long ty = firstY; ty < bottom; ++ty) {
        const std::uint32_t* in = source.pixels.data() +
                                  static_cast<std::size_t>(from.top + (ty - top)) *
                                      static_cast<std::size_t>(source.width) +
                                  static_cast<std::size_t>(sourceX);
        std::uint32_t* out = &target.At(static_cast<int>(firstX), static_cast<int>(ty));
        if (tint == kNoTint) {
            DrawRow(out, in, count, sourceAlpha, targetAlpha, blend);
        } else {
            DrawTintedRow(out, in, count, sourceAlpha, targetAlpha, tint, blend);
        }
    }
}

} // namespace winapi::graphics
