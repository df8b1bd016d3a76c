#include <windows.h>
#include "winapi/hooks/debug.h"

#include <gtest/gtest.h>

namespace {

TEST(DebugOutput, EachCallIsOnePieceAndWideTextArrivesAsUtf8) {
    std::vector<std::string> pieces;
    winapi::hooks::CaptureDebugOutput(&pieces);
    OutputDebugStringA("narrow ");
    OutputDebugStringW(u"wide \u00e9\U0001F600");
    OutputDebugStringA(nullptr);
    winapi::hooks::CaptureDebugOutput(nullptr);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], "narrow ");
    EXPECT_EQ(pieces[1], "wide \xC3\xA9\xF0\x9F\x98\x80");
}

TEST(MessageBox, HandlerSeesUtf8TextAndItsAnswerIsReturned) {
    std::string seen;
    UINT seenType = 0;
    winapi::hooks::SetMessageBoxHandler([&](HWND, std::string_view text, std::string_view caption,
                                            UINT type) {
        seen = std::string(caption) + "|" + std::string(text);
        seenType = type;
        return IDYES;
    });
    EXPECT_EQ(MessageBoxW(nullptr, u"b\u00f6x", u"cap", MB_ICONERROR | MB_YESNO), IDYES);
    winapi::hooks::SetMessageBoxHandler(nullptr);
    EXPECT_EQ(seen, "cap|b\xC3\xB6x");
    EXPECT_EQ(seenType, 0x14u);
}

TEST(MessageBox, WithoutDisplayAnswersNo) {
    const char* display = getenv("DISPLAY");
    std::string saved = display != nullptr ? display : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_YESNO), IDNO);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "caption: text\n");
    if (display != nullptr) {
        setenv("DISPLAY", saved.c_str(), 1);
    }
}

TEST(DebugBreak, WithoutDebuggerWritesOneLineAndReturns) {
    ASSERT_FALSE(IsDebuggerPresent());
    testing::internal::CaptureStderr();
    DebugBreak();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "DebugBreak: no debugger attached; continuing\n");
}

} // namespace
