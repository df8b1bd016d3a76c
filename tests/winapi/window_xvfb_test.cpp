// End to end on a real X display (an Xvfb of the test's own, without a window manager): an SDL2
// window, a full-screen device presenting through an SDL2 renderer, the desktop's close requests
// reaching the window, and Alt+Enter switching between full screen and a window.

#include "graphics_support.h"
#include "winapi/hooks/window.h"
#include "winapi/profile.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using graphics_test::GameParameters;
using winapi::hooks::ScreenRect;

IDirect3DDevice9* liveDevice = nullptr;
std::vector<UINT> received;

// Releases the device on WM_DESTROY and ends the loop, as the game's window procedure does.
LRESULT CALLBACK GameLikeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    received.push_back(message);
    if (message == WM_DESTROY) {
        if (liveDevice != nullptr) {
            liveDevice->Release();
            liveDevice = nullptr;
        }
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// One X server for the whole suite: SDL2's video, once started, stays with its display until the
// process ends.
class XvfbTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        int ready[2];
        if (pipe(ready) != 0) {
            return;
        }
        server = fork();
        if (server == 0) {
            close(ready[0]);
            std::string fd = std::to_string(ready[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        // Xvfb writes its display number once it accepts clients.
        pollfd waiting{ready[0], POLLIN, 0};
        char c = 0;
        while (server > 0 && poll(&waiting, 1, 20000) > 0 && read(ready[0], &c, 1) == 1 &&
               c != '\n') {
            displayNumber += c;
        }
        close(ready[0]);
        if (!displayNumber.empty()) {
            setenv("DISPLAY", (":" + displayNumber).c_str(), 1);
        }
    }

    static void TearDownTestSuite() {
        if (server > 0) {
            kill(server, SIGTERM);
            waitpid(server, nullptr, 0);
        }
    }

    void SetUp() override {
        if (displayNumber.empty()) {
            GTEST_SKIP() << "Xvfb could not be started";
        }
        // The display mode switches are remembered in a registry of the test's own.
        std::string store = (std::filesystem::temp_directory_path() / "registry-XXXXXX").string();
        ASSERT_NE(mkdtemp(store.data()), nullptr);
        registryFolder = store;
        setenv("WINAPI_REGISTRY_DIR", store.c_str(), 1);
        winapi::SelectProfile(winapi::Profile::Desktop);
        winapi::hooks::ResetWindowHooks();
        winapi::hooks::ResetGraphicsHooks();
        received.clear();

        WNDCLASSEX windowClass{};
        windowClass.cbSize = sizeof(WNDCLASSEX);
        windowClass.lpfnWndProc = GameLikeProc;
        windowClass.lpszClassName = "Quillerby";
        ASSERT_NE(RegisterClassExA(&windowClass), 0);
        window = CreateWindowExA(0, "Quillerby", "Quillerby", WS_POPUP | WS_VISIBLE, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 1024, 768, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        ASSERT_NE(Native(), nullptr) << SDL_GetError();
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS parameters = GameParameters(window);
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                    D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &liveDevice),
                  D3D_OK);
    }

    void TearDown() override {
        if (liveDevice != nullptr) {
            liveDevice->Release();
            liveDevice = nullptr;
        }
        if (d3d != nullptr) {
            d3d->Release();
        }
        winapi::hooks::ResetWindowHooks();
        winapi::SelectProfile(winapi::Profile::Headless);
        unsetenv("WINAPI_REGISTRY_DIR");
        if (!registryFolder.empty()) {
            std::filesystem::remove_all(registryFolder);
        }
    }

    SDL_Window* Native() { return winapi::hooks::NativeWindow(window); }

    // The main loop's message handling, until the quit message.
    bool RunUntilQuit() {
        MSG message;
        for (int pass = 0; pass < 1000; ++pass) {
            if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) {
                    return true;
                }
                DispatchMessageA(&message);
            }
        }
        return false;
    }

    // Alt+Enter as the desktop delivers it, then one pass of the message loop.
    void PressAltEnter(Uint8 repeat = 0) {
        SDL_Event key{};
        key.type = SDL_KEYDOWN;
        key.key.windowID = SDL_GetWindowID(Native());
        key.key.state = SDL_PRESSED;
        key.key.repeat = repeat;
        key.key.keysym.scancode = SDL_SCANCODE_RETURN;
        key.key.keysym.sym = SDLK_RETURN;
        key.key.keysym.mod = KMOD_LALT;
        ASSERT_EQ(SDL_PushEvent(&key), 1);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }

    // Presents one frame and says where it went.
    winapi::hooks::PresentedPlace PresentFrame() {
        liveDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
        EXPECT_EQ(liveDevice->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        return winapi::hooks::LastPresentedPlace();
    }

    bool FullScreen() {
        return (SDL_GetWindowFlags(Native()) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
               SDL_WINDOW_FULLSCREEN_DESKTOP;
    }

    static inline pid_t server = -1;
    static inline std::string displayNumber;
    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    std::string registryFolder;
};

void ExpectPlace(const winapi::hooks::PresentedPlace& place, int outputWidth, int outputHeight,
                 ScreenRect picture) {
    EXPECT_EQ(place.outputWidth, outputWidth);
    EXPECT_EQ(place.outputHeight, outputHeight);
    EXPECT_EQ(place.picture.x, picture.x);
    EXPECT_EQ(place.picture.y, picture.y);
    EXPECT_EQ(place.picture.width, picture.width);
    EXPECT_EQ(place.picture.height, picture.height);
}

TEST_F(XvfbTest, TheDeviceFillsTheDesktopAndPresentsFrames) {
    EXPECT_NE(SDL_GetWindowFlags(Native()) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    EXPECT_NE(SDL_GetWindowFlags(Native()) & SDL_WINDOW_BORDERLESS, 0u);
    int x = -1;
    int y = -1;
    SDL_GetWindowPosition(Native(), &x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    for (int frame = 0; frame < 3; ++frame) {
        ASSERT_EQ(liveDevice->BeginScene(), D3D_OK);
        liveDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
        liveDevice->EndScene();
        EXPECT_EQ(liveDevice->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    }
    // The 1280 by 1024 screen, with bars above and below the 4:3 picture.
    ExpectPlace(winapi::hooks::LastPresentedPlace(), 1280, 1024, {0, 32, 1280, 960});
    // A second device cannot take the same window.
    IDirect3DDevice9* second = nullptr;
    D3DPRESENT_PARAMETERS parameters = GameParameters(window);
    EXPECT_EQ(
        d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, 0, &parameters, &second),
        D3DERR_NOTAVAILABLE);
}

TEST_F(XvfbTest, TheDesktopsQuitRequestClosesTheWindowThroughItsProcedure) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    received.clear();
    ASSERT_EQ(SDL_PushEvent(&quit), 1);
    ASSERT_TRUE(RunUntilQuit());
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.front(), static_cast<UINT>(WM_CLOSE));
    EXPECT_NE(std::find(received.begin(), received.end(), WM_DESTROY), received.end());
    EXPECT_EQ(liveDevice, nullptr);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(XvfbTest, ADeviceLeftOnADestroyedWindowReportsItselfLost) {
    IDirect3DDevice9* kept = liveDevice;
    kept->AddRef();
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(Native());
    ASSERT_EQ(SDL_PushEvent(&close), 1);
    ASSERT_TRUE(RunUntilQuit());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(kept->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(kept->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(kept->Release(), 0u);
}

TEST_F(XvfbTest, AltEnterSwitchesToAResizableWindowAndBackWithoutAKeyMessage) {
    received.clear();
    PressAltEnter();
    EXPECT_TRUE(winapi::hooks::ShowsWindowed());
    EXPECT_FALSE(FullScreen());
    const Uint32 flags = SDL_GetWindowFlags(Native());
    EXPECT_NE(flags & SDL_WINDOW_RESIZABLE, 0u);
    EXPECT_EQ(flags & SDL_WINDOW_BORDERLESS, 0u);
    ExpectPlace(PresentFrame(), 1024, 768, {0, 0, 1024, 768});

    PressAltEnter(1); // the keys held down: no second switch
    EXPECT_FALSE(FullScreen());

    PressAltEnter();
    EXPECT_FALSE(winapi::hooks::ShowsWindowed());
    EXPECT_TRUE(FullScreen());
    ExpectPlace(PresentFrame(), 1280, 1024, {0, 32, 1280, 960});
    for (UINT keyMessage :
         {WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCOMMAND}) {
        EXPECT_EQ(std::count(received.begin(), received.end(), keyMessage), 0) << keyMessage;
    }
}

TEST_F(XvfbTest, AWindowsPictureFollowsTheSizeItReallyHas) {
    PressAltEnter();
    // What the user's dragging of the border does; with no window manager the X server resizes
    // the window at once, and SDL2 hears of it as an event.
    SDL_SetWindowSize(Native(), 1200, 600);
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    ExpectPlace(PresentFrame(), 1200, 600, {200, 0, 800, 600});

    // Full screen and back: the window comes back at the size the user gave it.
    PressAltEnter();
    PressAltEnter();
    ExpectPlace(PresentFrame(), 1200, 600, {200, 0, 800, 600});
}

} // namespace
