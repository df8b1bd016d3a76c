// Windows and the message queue, headless: what a program's window procedure sees, and the main
// loop of a program that runs frames while no message waits.

#include "winapi/hooks/window.h"
#include "winapi/profile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

namespace {

std::vector<UINT> received;
LRESULT createAnswer = 0;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    received.push_back(message);
    if (message == WM_CREATE && createAnswer != 0) {
        return createAnswer;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        winapi::SelectProfile(winapi::Profile::Headless);
        winapi::hooks::ResetWindowHooks();
        received.clear();
        createAnswer = 0;
        WNDCLASSEX windowClass{};
        windowClass.cbSize = sizeof(WNDCLASSEX);
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = "Quillerby";
        ASSERT_NE(RegisterClassExA(&windowClass), 0);
    }

    HWND CreatePopup() {
        return CreateWindowExA(0, "Quillerby", "Quillerby", WS_POPUP | WS_VISIBLE, CW_USEDEFAULT,
                               CW_USEDEFAULT, 1024, 768, nullptr, nullptr, nullptr, nullptr);
    }

    // Takes every waiting message the way the main loop does, until none is left or WM_QUIT.
    int PumpUntilEmpty(bool& quit, WPARAM& exitCode) {
        int handled = 0;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ++handled;
            if (message.message == WM_QUIT) {
                quit = true;
                exitCode = message.wParam;
                return handled;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        return handled;
    }
};

TEST_F(WindowTest, CreatingAVisiblePopupSendsCreationMessagesAndShowsIt) {
    HWND window = CreatePopup();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(received, (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SHOWWINDOW}));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(GetForegroundWindow(), window);

    received.clear();
    EXPECT_TRUE(ShowWindow(window, SW_SHOWDEFAULT)); // it was visible already
    EXPECT_TRUE(UpdateWindow(window));
    EXPECT_EQ(received, std::vector<UINT>{WM_PAINT});
}

TEST_F(WindowTest, ClassRegistrationChecksTheRecord) {
    WNDCLASSEX windowClass{};
    windowClass.cbSize = 48; // the 32-bit platform's size is not this record's
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.lpszClassName = "Other";
    EXPECT_EQ(RegisterClassExA(&windowClass), 0);
    windowClass.cbSize = sizeof(WNDCLASSEX);
    windowClass.lpszClassName = "QUILLERBY"; // class names ignore case
    EXPECT_EQ(RegisterClassExA(&windowClass), 0);
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr),
              nullptr);
}

TEST_F(WindowTest, AWindowThatRefusesCreationIsNotLeftBehind) {
    createAnswer = -1;
    EXPECT_EQ(CreatePopup(), nullptr);
    EXPECT_EQ(received.back(), static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(GetForegroundWindow(), nullptr);
}

// Trace output may ask for the foreground window (to own a message box) from any thread, while the
// program's own thread creates, hides and destroys windows. Without a visible window there is none.
TEST_F(WindowTest, ForegroundWindowCanBeAskedFromAnyThreadWhileWindowsComeAndGo) {
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    HWND hidden = CreateWindowExA(0, "Quillerby", "hidden", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(GetForegroundWindow(), nullptr);

    std::atomic<bool> done{false};
    std::vector<std::set<HWND>> answers(3);
    std::vector<std::thread> askers;
    for (std::set<HWND>& seen : answers) {
        askers.emplace_back([&done, &seen] {
            while (!done) {
                seen.insert(GetForegroundWindow());
            }
        });
    }
    std::set<HWND> shown = {nullptr};
    for (int round = 0; round < 20000; ++round) {
        HWND window = CreatePopup();
        ASSERT_NE(window, nullptr);
        shown.insert(window);
        if (round % 3 == 0) {
            ShowWindow(window, SW_HIDE);
        }
        DestroyWindow(window);
    }
    done = true;
    for (std::thread& asker : askers) {
        asker.join();
    }
    for (const std::set<HWND>& seen : answers) {
        for (HWND answer : seen) {
            EXPECT_TRUE(shown.contains(answer)) << answer;
        }
    }
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    EXPECT_TRUE(DestroyWindow(hidden));
}

TEST_F(WindowTest, PostedMessagesComeInOrderAndPeekingWithoutRemovingKeepsThem) {
    HWND window = CreatePopup();
    ASSERT_TRUE(PostMessageA(window, WM_USER + 1, 11, 12));
    ASSERT_TRUE(PostMessageA(window, WM_USER + 2, 21, 22));

    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_USER + 1));
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.hwnd, window);
    EXPECT_EQ(message.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(message.wParam, 11u);
    EXPECT_EQ(message.lParam, 12);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
    EXPECT_EQ(message.wParam, 21u);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowTest, QuitComesAfterTheMessagesAlreadyWaitingAndCarriesTheExitCode) {
    HWND window = CreatePopup();
    PostQuitMessage(3);
    PostMessageA(window, WM_USER, 0, 0);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_USER));
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowTest, ThreadMessagesAreTakenButDispatchedToNoWindow) {
    CreatePopup();
    received.clear();
    ASSERT_TRUE(PostMessageA(nullptr, WM_USER, 0, 0));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(message.hwnd, nullptr);
    EXPECT_EQ(DispatchMessageA(&message), 0);
    EXPECT_TRUE(received.empty());
}

TEST_F(WindowTest, TheQueueRefusesMessagesBeyondItsLimit) {
    HWND window = CreatePopup();
    for (int i = 0; i < 10000; ++i) {
        ASSERT_TRUE(PostMessageA(window, WM_USER, 0, 0));
    }
    EXPECT_FALSE(PostMessageA(window, WM_USER, 0, 0));
    EXPECT_EQ(winapi::hooks::QueuedMessageCount(), 10000u);
}

TEST_F(WindowTest, ClosingDestroysTheWindowAndDropsWhatWasPostedToIt) {
    HWND window = CreatePopup();
    PostMessageA(window, WM_CLOSE, 0, 0);
    PostMessageA(window, WM_USER, 0, 0);
    received.clear();

    bool quit = false;
    WPARAM exitCode = 99;
    PumpUntilEmpty(quit, exitCode);

    EXPECT_TRUE(quit);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(received, (std::vector<UINT>{WM_CLOSE, WM_SHOWWINDOW, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    EXPECT_FALSE(PostMessageA(window, WM_USER, 0, 0));
    EXPECT_FALSE(DestroyWindow(window));
}

TEST_F(WindowTest, TheDesktopClosingTheProgramReachesTheWindowAsClose) {
    HWND window = CreatePopup();
    winapi::hooks::SimulateDesktopClose();
    winapi::hooks::SimulateDesktopClose(); // a second request while one waits adds nothing
    EXPECT_EQ(winapi::hooks::QueuedMessageCount(), 1u);
    received.clear();
    bool quit = false;
    WPARAM exitCode = 99;
    PumpUntilEmpty(quit, exitCode);
    EXPECT_TRUE(quit);
    EXPECT_EQ(received.front(), static_cast<UINT>(WM_CLOSE));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowTest, AMainLoopRunsFramesOnlyWhenNoMessageWaits) {
    HWND window = CreatePopup();
    std::vector<char> passes; // 'm' for a message, 'f' for a frame
    int frames = 0;
    bool done = false;
    MSG message;
    while (!done) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            passes.push_back('m');
            if (message.message == WM_QUIT) {
                done = true;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else {
            passes.push_back('f');
            if (++frames == 1) {
                PostMessageA(window, WM_USER, 0, 0);
                PostMessageA(window, WM_USER, 0, 0);
            } else if (frames == 2) {
                PostMessageA(window, WM_DESTROY, 0, 0); // what the game does on Escape
            }
        }
    }
    EXPECT_EQ(std::string(passes.begin(), passes.end()), "fmmfmm");
    EXPECT_TRUE(IsWindow(window)); // a posted destroy message does not destroy the window
}

TEST_F(WindowTest, StockObjectsAndSystemCursorsHaveHandles) {
    EXPECT_NE(GetStockObject(BLACK_BRUSH), nullptr);
    EXPECT_NE(GetStockObject(BLACK_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetStockObject(1000), nullptr);
    EXPECT_NE(LoadCursor(nullptr, IDC_ARROW), nullptr);
    EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(1)), nullptr);
}

} // namespace
