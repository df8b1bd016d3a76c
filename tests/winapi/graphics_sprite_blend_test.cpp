// Sprite drawing against a texel-by-texel reference: however the drawing treats opaque,
// transparent or untinted texels, every pixel must come out as the plain formula gives it.

#include "graphics_support.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int kTargetWidth = 320; // wider than a texture row, so every sprite reaches an edge
constexpr int kTargetHeight = 8;
constexpr int kTextureWidth = 300;
constexpr int kTextureHeight = 5;

std::uint32_t Channel(std::uint32_t color, int shift) {
    return (color >> shift) & 0xFFu;
}

// Scrambled bits, so that neighbouring texels and pixels differ in every channel.
std::uint32_t Scramble(std::uint32_t n) {
    n = (n ^ 61u) ^ (n >> 16);
    n *= 9u;
    n ^= n >> 4;
    n *= 0x27D4EB2Du;
    return n ^ (n >> 15);
}

// Runs of opaque texels of many lengths between transparent ones (whose colour must not show),
// faint, nearly opaque and half-transparent ones.
std::vector<std::uint32_t> MixedTexels() {
    constexpr std::uint32_t kAlphas[] = {0xFF, 0xFF, 0xFF, 0x00, 0x80,
                                         0xFF, 0x01, 0xFE, 0x00, 0x7F};
    std::vector<std::uint32_t> texels;
    for (std::uint32_t i = 0; i < kTextureWidth * kTextureHeight; ++i) {
        std::uint32_t alpha = kAlphas[Scramble(i / 3) % std::size(kAlphas)];
        texels.push_back(alpha << 24 | (Scramble(i) & 0xFFFFFFu));
    }
    return texels;
}

// One pixel drawn the slow way: every channel multiplied by the tint, then mixed by alpha.
std::uint32_t Reference(std::uint32_t texel, std::uint32_t under, std::uint32_t tint, bool blend,
                        bool opaqueTexture, bool opaqueTarget) {
    if (opaqueTexture) {
        texel |= 0xFF000000u;
    }
    std::uint32_t shaded = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        shaded |= (Channel(texel, shift) * Channel(tint, shift) + 127u) / 255u << shift;
    }
    std::uint32_t result = shaded;
    if (blend) {
        std::uint32_t alpha = shaded >> 24;
        result = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            result |=
                (Channel(shaded, shift) * alpha + Channel(under, shift) * (255u - alpha) + 127u) /
                    255u
                << shift;
        }
    }
    return opaqueTarget ? result | 0xFF000000u : result;
}

struct Placement {
    float x;
    float y;
    RECT source;
};

// Clipped at the left and top, at the right and bottom, and a tile of the texture inside.
constexpr Placement kPlacements[] = {
    {-7, -2, {0, 0, kTextureWidth, kTextureHeight}},
    {40, 5, {0, 0, kTextureWidth, kTextureHeight}},
    {3, 1, {2, 1, 290, 4}},
};

class SpriteBlendTest : public graphics_test::HeadlessDevice {
protected:
    void MakeDeviceOfFormat(D3DFORMAT format) {
        if (sprite != nullptr) {
            sprite->Release();
        }
        if (device != nullptr) {
            device->Release();
        }
        D3DPRESENT_PARAMETERS parameters =
            graphics_test::GameParameters(window, kTargetWidth, kTargetHeight);
        parameters.BackBufferFormat = format;
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                    D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device),
                  D3D_OK);
        ASSERT_EQ(D3DXCreateSprite(device, &sprite), D3D_OK);
    }

    // The back buffer's words as stored, or replaced by `pixels` when given.
    std::vector<std::uint32_t> BackBuffer(const std::vector<std::uint32_t>* pixels = nullptr) {
        IDirect3DSurface9* surface = nullptr;
        EXPECT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
        D3DLOCKED_RECT locked{};
        EXPECT_EQ(surface->LockRect(&locked, nullptr, 0), D3D_OK);
        auto* words = static_cast<std::uint32_t*>(locked.pBits);
        std::vector<std::uint32_t> result(words, words + kTargetWidth * kTargetHeight);
        if (pixels != nullptr) {
            std::copy(pixels->begin(), pixels->end(), words);
        }
        surface->UnlockRect();
        surface->Release();
        return result;
    }
};

TEST_F(SpriteBlendTest, EveryKindOfTexelTintAndFormatMatchesThePlainFormula) {
    const std::vector<std::uint32_t> texels = MixedTexels();
    std::vector<std::uint32_t> background;
    for (std::uint32_t i = 0; i < kTargetWidth * kTargetHeight; ++i) {
        background.push_back(Scramble(i + 12345u)); // alpha bytes too, even in an opaque buffer
    }
    for (D3DFORMAT targetFormat : {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}) {
        MakeDeviceOfFormat(targetFormat);
        for (D3DFORMAT textureFormat : {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8}) {
            IDirect3DTexture9* texture =
                MakeTexture(kTextureWidth, kTextureHeight, texels, textureFormat);
            for (D3DCOLOR tint : {0xFFFFFFFFu, 0x80FFFFFFu, 0xFF808000u, 0xC0A0FF40u}) {
                for (DWORD flags : {DWORD{D3DXSPRITE_ALPHABLEND}, DWORD{0}}) {
                    SCOPED_TRACE(testing::Message()
                                 << "target " << targetFormat << ", texture " << textureFormat
                                 << ", tint " << std::hex << tint << ", flags " << flags);
                    bool opaqueTarget = targetFormat == D3DFMT_X8R8G8B8;
                    bool opaqueTexture = textureFormat == D3DFMT_X8R8G8B8;
                    std::vector<std::uint32_t> expected = background;
                    BackBuffer(&background);
                    ASSERT_EQ(device->BeginScene(), D3D_OK);
                    sprite->Begin(flags);
                    for (const Placement& placement : kPlacements) {
                        D3DXVECTOR3 position(placement.x, placement.y, 0);
                        sprite->Draw(texture, &placement.source, nullptr, &position, tint);
                        const RECT& from = placement.source;
                        for (int sy = from.top; sy < from.bottom; ++sy) {
                            for (int sx = from.left; sx < from.right; ++sx) {
                                int x = static_cast<int>(placement.x) + sx - from.left;
                                int y = static_cast<int>(placement.y) + sy - from.top;
                                if (x < 0 || y < 0 || x >= kTargetWidth || y >= kTargetHeight) {
                                    continue;
                                }
                                std::uint32_t& pixel = expected[y * kTargetWidth + x];
                                pixel = Reference(texels[sy * kTextureWidth + sx], pixel, tint,
                                                  flags != 0, opaqueTexture, opaqueTarget);
                            }
                        }
                    }
                    sprite->End();
                    device->EndScene();
                    std::vector<std::uint32_t> actual = BackBuffer();
                    for (int i = 0; i < kTargetWidth * kTargetHeight; ++i) {
                        // Words an opaque buffer stores outside what was drawn keep their alpha.
                        std::uint32_t shown = opaqueTarget ? 0xFF000000u : 0;
                        ASSERT_EQ(actual[i] | shown, expected[i] | shown)
                            << "at " << i % kTargetWidth << "," << i / kTargetWidth << ": "
                            << std::hex << actual[i] << " instead of " << expected[i];
                    }
                }
            }
            texture->Release();
        }
    }
}

} // namespace
