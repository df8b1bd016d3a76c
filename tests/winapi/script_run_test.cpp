// Scripted runs, headless: the keyboard reads a script, captures frames and closes the window
// when the script ends; a bad script stops the keyboard's set-up with a message.

#include "graphics_support.h"
#include "winapi/hooks/input.h"

#include <cstdlib>
#include <dinput.h>
#include <filesystem>
#include <fstream>

namespace {

using graphics_test::HeadlessDevice;

int closeMessages = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ++closeMessages;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class ScriptRunTest : public HeadlessDevice {
protected:
    void SetUp() override {
        HeadlessDevice::SetUp();
        closeMessages = 0;
        // The window of the run counts WM_CLOSE.
        WNDCLASSEX windowClass{};
        windowClass.cbSize = sizeof(WNDCLASSEX);
        windowClass.lpfnWndProc = CountingProc;
        windowClass.lpszClassName = "Scripted";
        RegisterClassExA(&windowClass);
        window = CreateWindowExA(0, "Scripted", "", WS_POPUP | WS_VISIBLE, 0, 0, 16, 8, nullptr,
                                 nullptr, nullptr, nullptr);
        MakeDevice(16, 8);
        name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_EQ(DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION,
                                     IID_IDirectInput8, reinterpret_cast<void**>(&dinput), nullptr),
                  DI_OK);
        ASSERT_EQ(dinput->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr), DI_OK);
        ASSERT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
        ASSERT_EQ(keyboard->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND),
                  DI_OK);
    }

    void TearDown() override {
        keyboard->Release();
        dinput->Release();
        unsetenv("WINAPI_INPUT_SCRIPT");
        HeadlessDevice::TearDown();
    }

    void UseScript(const std::string& text) {
        std::ofstream(name + ".script") << text;
        setenv("WINAPI_INPUT_SCRIPT", (name + ".script").c_str(), 1);
    }

    std::array<BYTE, 256> Read() {
        std::array<BYTE, 256> keys{};
        EXPECT_EQ(keyboard->GetDeviceState(256, keys.data()), DI_OK);
        return keys;
    }

    void DispatchWaiting() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }

    std::string name;
    IDirectInput8* dinput = nullptr;
    IDirectInputDevice8* keyboard = nullptr;
};

TEST_F(ScriptRunTest, TheScriptReplacesTheKeyboardOneSnapshotPerRead) {
    UseScript("2 57\n1 203\n");
    winapi::hooks::SetKeysDown({DIK_B}); // the hooks' keyboard is not read in a scripted run
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    EXPECT_EQ(Read()[57], 0x80);
    EXPECT_EQ(Read()[57], 0x80);
    auto third = Read();
    EXPECT_EQ(third[57], 0);
    EXPECT_EQ(third[203], 0x80);
    EXPECT_EQ(third[DIK_B], 0);
    EXPECT_EQ(winapi::hooks::QueuedMessageCount(), 0u);
}

TEST_F(ScriptRunTest, WhenTheScriptRunsOutTheWindowIsClosedOnce) {
    UseScript("1 1\n");
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    Read();
    EXPECT_EQ(winapi::hooks::QueuedMessageCount(), 0u);
    auto after = Read();
    EXPECT_EQ(std::count(after.begin(), after.end(), 0), 256);
    Read();
    Read();
    EXPECT_EQ(winapi::hooks::QueuedMessageCount(), 1u);
    DispatchWaiting();
    EXPECT_EQ(closeMessages, 1);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(ScriptRunTest, ACloseClosesTheWindowAfterTheFrameBeforeIt) {
    UseScript("2 203\nclose\n");
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    Read();
    EXPECT_EQ(winapi::hooks::QueuedMessageCount(), 0u);
    EXPECT_EQ(Read()[203], 0x80);
    EXPECT_EQ(winapi::hooks::QueuedMessageCount(), 1u);
    Read();
    EXPECT_EQ(winapi::hooks::QueuedMessageCount(), 1u);
    DispatchWaiting();
    EXPECT_EQ(closeMessages, 1);
}

TEST_F(ScriptRunTest, ACaptureSavesTheNextPresentedFrameAsAPng) {
    std::string shot = name + ".png";
    std::filesystem::remove(shot);
    UseScript("1\ncapture " + shot + "\n1 57\n");
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    Read();
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0);
    device->Present(nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(std::filesystem::exists(shot));

    Read(); // meets the capture line
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF336699, 1.0f, 0);
    device->Present(nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(std::filesystem::exists(shot));

    D3DXIMAGE_INFO info{};
    ASSERT_EQ(D3DXGetImageInfoFromFileA(shot.c_str(), &info), D3D_OK);
    EXPECT_EQ(info.Width, 16u);
    EXPECT_EQ(info.Height, 8u);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(device->CreateOffscreenPlainSurface(16, 8, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &surface,
                                                  nullptr),
              D3D_OK);
    ASSERT_EQ(D3DXLoadSurfaceFromFileA(surface, nullptr, nullptr, shot.c_str(), nullptr,
                                       D3DX_DEFAULT, 0, nullptr),
              D3D_OK);
    D3DLOCKED_RECT locked{};
    surface->LockRect(&locked, nullptr, 0);
    EXPECT_EQ(static_cast<const std::uint32_t*>(locked.pBits)[5], 0xFF336699u);
    surface->UnlockRect();
    surface->Release();

    std::filesystem::remove(shot);
    Read();
    device->Present(nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(std::filesystem::exists(shot)); // one frame only
}

TEST_F(ScriptRunTest, AMalformedScriptFailsTheKeyboardWithItsLineOnStandardError) {
    UseScript("5 57\n5 300\n");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(keyboard->Acquire(), DIERR_NOTFOUND);
    std::string message = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find(name + ".script:2:"), std::string::npos) << message;
    EXPECT_NE(message.find("300"), std::string::npos) << message;
    std::array<BYTE, 256> keys{};
    EXPECT_EQ(keyboard->GetDeviceState(256, keys.data()), DIERR_NOTACQUIRED);
}

TEST_F(ScriptRunTest, AnUnreadableScriptFailsTheKeyboardWithAMessage) {
    setenv("WINAPI_INPUT_SCRIPT", "no_such_script.txt", 1);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(keyboard->Acquire(), DIERR_NOTFOUND);
    std::string message = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("no_such_script.txt"), std::string::npos) << message;

    setenv("WINAPI_INPUT_SCRIPT", ".", 1); // a folder is no script either
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(keyboard->Acquire(), DIERR_NOTFOUND);
    EXPECT_FALSE(::testing::internal::GetCapturedStderr().empty());
}

} // namespace
