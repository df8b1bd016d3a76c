// Init_Direct3D on the headless device: what it makes, what it logs, and each way it can fail.

#include "headless_platform.h"
#include "log_capture.h"
#include "platform/graphics.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;
using winapi::hooks::GraphicsCall;

template <typename Interface> void ReleaseAndForget(Interface*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

class GraphicsSetUpTest : public testing::Test {
protected:
    void SetUp() override {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "GraphicsSetUpTest";
        RegisterClassExA(&windowClass);
        window = CreateWindowExA(0, "GraphicsSetUpTest", "", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 768,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        ReleaseAndForget(spriteHandler);
        ReleaseAndForget(backBuffer);
        ReleaseAndForget(d3dDevice);
        ReleaseAndForget(d3dObject);
    }
    HeadlessPlatform platform;
    LogCapture log;
    HWND window = nullptr;
};

TEST_F(GraphicsSetUpTest, MakesTheObjectsAndABlackBackBufferOfTheAskedSize) {
    ASSERT_EQ(Init_Direct3D(window, 1024, 768), 1);
    EXPECT_EQ(log.TakeLines(), (Lines{"Sprite Handler Created", "Direct3D objects initialized"}));
    ASSERT_NE(d3dObject, nullptr);
    ASSERT_NE(d3dDevice, nullptr);
    ASSERT_NE(spriteHandler, nullptr);
    ASSERT_NE(backBuffer, nullptr);

    D3DSURFACE_DESC description{};
    ASSERT_EQ(backBuffer->GetDesc(&description), D3D_OK);
    EXPECT_EQ(description.Width, 1024u);
    EXPECT_EQ(description.Height, 768u);
    EXPECT_EQ(description.Format, D3DFMT_X8R8G8B8);

    D3DLOCKED_RECT locked{};
    ASSERT_EQ(backBuffer->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    const auto* pixels = static_cast<const std::uint32_t*>(locked.pBits);
    EXPECT_EQ(pixels[0] & 0xFFFFFF, 0u);
    EXPECT_EQ(pixels[767 * (locked.Pitch / 4) + 1023] & 0xFFFFFF, 0u);
    backBuffer->UnlockRect();
}

TEST_F(GraphicsSetUpTest, EachFailureLogsItsOwnLineAndKeepsWhatWasMade) {
    winapi::hooks::FailGraphicsCall(GraphicsCall::Direct3DCreate9, E_FAIL);
    EXPECT_EQ(Init_Direct3D(window, 1024, 768), 0);
    EXPECT_EQ(log.TakeLines(), (Lines{"Error creating Direct3D object"}));
    EXPECT_EQ(d3dObject, nullptr);
    winapi::hooks::ResetGraphicsHooks();

    winapi::hooks::FailGraphicsCall(GraphicsCall::CreateDevice, D3DERR_NOTAVAILABLE);
    EXPECT_EQ(Init_Direct3D(window, 1024, 768), 0);
    EXPECT_EQ(log.TakeLines(), (Lines{"Error creating Direct3D device"}));
    EXPECT_NE(d3dObject, nullptr);
    EXPECT_EQ(d3dDevice, nullptr);
    ReleaseAndForget(d3dObject);
    winapi::hooks::ResetGraphicsHooks();

    winapi::hooks::FailGraphicsCall(GraphicsCall::CreateSprite, D3DERR_INVALIDCALL);
    EXPECT_EQ(Init_Direct3D(window, 1024, 768), 0);
    EXPECT_EQ(log.TakeLines(), (Lines{"Error Creating sprite handler"}));
    EXPECT_NE(d3dDevice, nullptr);
}

TEST_F(GraphicsSetUpTest, WithoutADisplayTheDeviceCannotBeMade) {
    winapi::hooks::SetDisplayAvailable(false);
    EXPECT_EQ(Init_Direct3D(window, 1024, 768), 0);
    EXPECT_EQ(log.TakeLines(), (Lines{"Error creating Direct3D device"}));
}

} // namespace
