#include "graphics/presenter.h"
#include "graphics/test_controls.h"

namespace winapi::graphics {
namespace {

class HeadlessPresenter final : public Presenter {
public:
    HRESULT Show(const Image& backBuffer) override {
        DeliverFrame(hooks::Frame{backBuffer.width, backBuffer.height, backBuffer.pixels});
        return D3D_OK;
    }
    bool Usable() const override { return true; }
};

} // namespace

std::unique_ptr<Presenter> MakeHeadlessPresenter(HWND, const D3DPRESENT_PARAMETERS&) {
    if (!headlessDisplayAvailable) {
        return nullptr;
    }
    return std::make_unique<HeadlessPresenter>();
}

} // namespace winapi::graphics
