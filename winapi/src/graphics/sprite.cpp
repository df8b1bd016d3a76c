// The D3DX sprite object: a batch of textured rectangles drawn into the device's back buffer.

#include "graphics/device.h"
#include "graphics/draw_image.h"
#include "graphics/test_controls.h"

#include <cmath>
#include <d3dx9.h>
#include <vector>

namespace winapi::graphics {
namespace {

// Sprites further off than this are off every screen; this also keeps the conversion to int safe.
constexpr float kFarthestPosition = 1.0e7f;

struct QueuedSprite {
    Texture* texture; // a reference held until drawn
    PixelRect source;
    int x;
    int y;
    D3DCOLOR tint;
};

class Sprite final : public RefCounted<ID3DXSprite> {
public:
    explicit Sprite(Device* device) : device_(device) { device_->AddRef(); }

    ~Sprite() override {
        Discard();
        device_->Release();
    }

    HRESULT GetDevice(IDirect3DDevice9** device) override {
        if (device == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        device_->AddRef();
        *device = device_;
        return D3D_OK;
    }

    HRESULT Begin(DWORD flags) override {
        if (begun_) {
            return D3DERR_INVALIDCALL;
        }
        begun_ = true;
        blend_ = (flags & D3DXSPRITE_ALPHABLEND) != 0;
        return D3D_OK;
    }

    HRESULT Draw(IDirect3DTexture9* texture, const RECT* sourceRect, const D3DXVECTOR3* center,
                 const D3DXVECTOR3* position, D3DCOLOR color) override {
        auto* ours = dynamic_cast<Texture*>(texture);
        if (!begun_ || ours == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        PixelRect source = WholeImage(ours->Pixels());
        if (sourceRect != nullptr) {
            source = {sourceRect->left, sourceRect->top, sourceRect->right, sourceRect->bottom};
        }
        float x =
            (position != nullptr ? position->x : 0.0f) - (center != nullptr ? center->x : 0.0f);
        float y =
            (position != nullptr ? position->y : 0.0f) - (center != nullptr ? center->y : 0.0f);
        if (!(std::fabs(x) < kFarthestPosition && std::fabs(y) < kFarthestPosition)) {
            return D3D_OK; // nothing of it can be seen (or the position is not a number)
        }
        ours->AddRef();
        queue_.push_back({ours, source, static_cast<int>(std::lround(x)),
                          static_cast<int>(std::lround(y)), color});
        return D3D_OK;
    }

    HRESULT Flush() override {
        if (!begun_) {
            return D3DERR_INVALIDCALL;
        }
        if (!device_->InScene()) {
            Discard();
            return D3DERR_INVALIDCALL;
        }
        for (const QueuedSprite& sprite : queue_) {
            DrawImage(device_->BackBufferPixels(), sprite.texture->Pixels(), sprite.source,
                      sprite.x, sprite.y, sprite.tint, blend_);
        }
        Discard();
        return D3D_OK;
    }

    HRESULT End() override {
        HRESULT flushed = Flush();
        begun_ = false;
        return flushed;
    }

    HRESULT OnLostDevice() override { return D3D_OK; }
    HRESULT OnResetDevice() override { return D3D_OK; }

private:
    void Discard() {
        for (const QueuedSprite& sprite : queue_) {
            sprite.texture->Release();
        }
        queue_.clear();
    }

    Device* device_;
    bool begun_ = false;
    bool blend_ = false;
    std::vector<QueuedSprite> queue_;
};

} // namespace
} // namespace winapi::graphics

HRESULT WINAPI D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite) {
    using namespace winapi::graphics;
    auto* ours = dynamic_cast<Device*>(device);
    if (ours == nullptr || sprite == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if (const HRESULT failure = InjectedFailure(winapi::hooks::GraphicsCall::CreateSprite)) {
        return failure;
    }
    *sprite = new Sprite(ours);
    return D3D_OK;
}
