// TraceError and TraceErrorW: the pieces written to the debugger output, the message box and the
// breakpoint, through the test hooks of the debug service.

#include "errors/error_trace.h"

#include "winapi/hooks/debug.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Pieces = std::vector<std::string>;

struct ShownBox {
    std::string text;
    std::string caption;
    UINT type = 0;
};

class TraceErrorTest : public testing::Test {
protected:
    void SetUp() override {
        winapi::hooks::CaptureDebugOutput(&pieces);
        winapi::hooks::SetMessageBoxHandler(
            [this](HWND, std::string_view text, std::string_view caption, UINT type) {
                boxes.push_back({std::string(text), std::string(caption), type});
                return answer;
            });
        winapi::hooks::SetDebugBreakHandler([this] { ++breaks; });
    }
    void TearDown() override {
        winapi::hooks::CaptureDebugOutput(nullptr);
        winapi::hooks::SetMessageBoxHandler({});
        winapi::hooks::SetDebugBreakHandler({});
    }

    Pieces pieces;
    std::vector<ShownBox> boxes;
    int answer = IDNO;
    int breaks = 0;
};

constexpr auto kBadFormat = static_cast<HRESULT>(0x88780064);

TEST_F(TraceErrorTest, WritesFileLineMessageAndCodeAsSeparatePieces) {
    EXPECT_EQ(TraceError("F", 120, kBadFormat, "CreateSoundBuffer", FALSE), kBadFormat);
    EXPECT_EQ(pieces, (Pieces{"F(120): ", "CreateSoundBuffer", " ",
                              "hr=DSERR_BADFORMAT (0x88780064)", "\n"}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(TraceErrorTest, NamesTheCodeOrCallsItUnknown) {
    EXPECT_EQ(TraceError(nullptr, 1, E_FAIL, nullptr, FALSE), E_FAIL);
    EXPECT_EQ(TraceError(nullptr, 1, 0x00ABCDEF, nullptr, FALSE), 0x00ABCDEF);
    EXPECT_EQ(pieces, (Pieces{"hr=E_FAIL (0x80004005)", "\n", "hr=Unknown (0x00abcdef)", "\n"}));
}

TEST_F(TraceErrorTest, LeavesOutAnEmptyMessageAndTheLineAsSignedDecimal) {
    TraceError("a.cpp", 0xFFFFFFFF, S_OK, "", FALSE);
    EXPECT_EQ(pieces, (Pieces{"a.cpp(-1): ", "hr=S_OK (0x00000000)", "\n"}));
}

TEST_F(TraceErrorTest, LeavesOutAMessageOf1024CharactersOrMore) {
    const std::string fits(1023, 'm');
    const std::string tooLong(1024, 'm');
    answer = IDNO;
    TraceError("f", 7, E_FAIL, fits.c_str(), TRUE);
    ASSERT_EQ(pieces.size(), 5u);
    EXPECT_EQ(pieces[1], fits);
    ASSERT_EQ(boxes.size(), 1u);
    // The calling text keeps what fits in its 1,024-character buffer.
    const std::string calling = "Calling: " + fits.substr(0, 1023 - 9);
    EXPECT_NE(boxes[0].text.find("\n" + calling + "Do you want"), std::string::npos);

    pieces.clear();
    TraceError("f", 7, E_FAIL, tooLong.c_str(), TRUE);
    EXPECT_EQ(pieces, (Pieces{"f(7): ", "hr=E_FAIL (0x80004005)", "\n"}));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text.find("Calling:"), std::string::npos);
}

TEST_F(TraceErrorTest, MessageBoxShowsTheTraceAndBreaksOnlyOnYes) {
    answer = IDYES;
    EXPECT_EQ(TraceError("wave.cpp", 42, kBadFormat, "mmioDescend", TRUE), kBadFormat);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "File: wave.cpp\nLine: 42\n"
                             "Error Code: DSERR_BADFORMAT (0x88780064)\n"
                             "Calling: mmioDescend\n"
                             "Do you want to debug the application?");
    EXPECT_EQ(boxes[0].caption, "Unexpected error encountered");
    EXPECT_EQ(boxes[0].type, 0x14u);
    EXPECT_EQ(breaks, 1);

    answer = IDNO;
    TraceError(nullptr, 3, E_FAIL, nullptr, TRUE);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "File: \nLine: 3\nError Code: E_FAIL (0x80004005)\n"
                             "Do you want to debug the application?");
    EXPECT_EQ(breaks, 1);
}

TEST_F(TraceErrorTest, LongFileNameIsCutInTheBoxOnlyAndTheOutputToItsBuffer) {
    const std::string file(400, 'p');
    TraceError(file.c_str(), 9, E_FAIL, nullptr, TRUE);
    EXPECT_EQ(pieces[0], file + "(9): ");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.substr(0, 6 + 259 + 1), "File: " + file.substr(0, 259) + "\n");

    pieces.clear();
    const std::string huge(5000, 'q');
    TraceError(huge.c_str(), 9, E_FAIL, nullptr, FALSE);
    EXPECT_EQ(pieces[0], huge.substr(0, 2999));
}

TEST_F(TraceErrorTest, WideFormUsesTheWideTablesAndWideBox) {
    answer = IDYES;
    const auto notSafeboot = static_cast<HRESULT>(0x8007043C);
    EXPECT_EQ(TraceErrorW("w.cpp", 5, notSafeboot, u"DirectSoundCreate8", TRUE), notSafeboot);
    EXPECT_EQ(pieces,
              (Pieces{"w.cpp(5): ", "DirectSoundCreate8", " ", "hr=Unknown (0x8007043c)", "\n"}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "File: w.cpp\nLine: 5\nError Code: Unknown (0x8007043c)\n"
                             "Calling: DirectSoundCreate8\n"
                             "Do you want to debug the application?");
    EXPECT_EQ(boxes[0].caption, "Unexpected error encountered");
    EXPECT_EQ(breaks, 1);

    pieces.clear();
    EXPECT_EQ(TraceErrorW("F", 120, kBadFormat, u"CreateSoundBuffer", FALSE), kBadFormat);
    EXPECT_EQ(pieces, (Pieces{"F(120): ", "CreateSoundBuffer", " ",
                              "hr=DSERR_BADFORMAT (0x88780064)", "\n"}));
}

TEST_F(TraceErrorTest, WideFormLeavesOutLongMessagesAndCutsTheNarrowPath) {
    const std::u16string tooLong(1024, u'm');
    const std::string file(300, 'p');
    TraceErrorW(file.c_str(), 1, E_FAIL, tooLong.c_str(), TRUE);
    EXPECT_EQ(pieces, (Pieces{file + "(1): ", "hr=E_FAIL (0x80004005)", "\n"}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "File: " + file.substr(0, 259) +
                                 "\nLine: 1\nError Code: E_FAIL (0x80004005)\n"
                                 "Do you want to debug the application?");
}

} // namespace
