// Keyboard scripts: what a script says, and the clear refusal of lines that say nothing sensible.

#include "winapi/input_script.h"

#include <gtest/gtest.h>

namespace {

using winapi::input::InputScript;
using winapi::input::ParseInputScript;
using winapi::input::ScriptError;
using winapi::input::ScriptPlayer;

InputScript Parsed(std::string_view text) {
    auto result = ParseInputScript(text);
    if (const auto* error = std::get_if<ScriptError>(&result)) {
        ADD_FAILURE() << "line " << error->line << ": " << error->reason;
        return {};
    }
    return std::get<InputScript>(std::move(result));
}

int ErrorLine(std::string_view text) {
    auto result = ParseInputScript(text);
    const auto* error = std::get_if<ScriptError>(&result);
    return error != nullptr ? error->line : 0;
}

TEST(ScriptParser, ReadsCountsKeysCapturesAndSkipsCommentsAndBlankLines) {
    InputScript script = Parsed("# warm-up\n"
                                "\n"
                                "10\n"
                                "  3 203 57   # left and jump\r\n"
                                "capture jump.png\n"
                                "\t1\t1\n");
    ASSERT_EQ(script.steps.size(), 4u);
    EXPECT_EQ(script.steps[0].frames, 10u);
    EXPECT_TRUE(script.steps[0].keys.none());
    EXPECT_EQ(script.steps[1].frames, 3u);
    EXPECT_TRUE(script.steps[1].keys.test(203));
    EXPECT_TRUE(script.steps[1].keys.test(57));
    EXPECT_EQ(script.steps[1].keys.count(), 2u);
    EXPECT_EQ(script.steps[2].frames, 0u);
    EXPECT_EQ(script.steps[2].capture, "jump.png");
    EXPECT_TRUE(script.steps[3].keys.test(1));
    EXPECT_TRUE(Parsed("").steps.empty());
    EXPECT_TRUE(Parsed("# nothing but a comment").steps.empty());
}

TEST(ScriptParser, MalformedCountsAreRefusedWithTheirLineNumber) {
    EXPECT_EQ(ErrorLine("1\n0\n"), 2);
    EXPECT_EQ(ErrorLine("-1"), 1);
    EXPECT_EQ(ErrorLine("+5"), 1);
    EXPECT_EQ(ErrorLine("ten 57"), 1);
    EXPECT_EQ(ErrorLine("0x10"), 1);
    EXPECT_EQ(ErrorLine("1.5"), 1);
    EXPECT_EQ(ErrorLine("1000000001"), 1);
    EXPECT_EQ(ErrorLine("99999999999999999999"), 1);
    EXPECT_EQ(ErrorLine("1000000000"), 0);
}

TEST(ScriptParser, MalformedKeysAreRefused) {
    EXPECT_EQ(ErrorLine("5 256"), 1);
    EXPECT_EQ(ErrorLine("5 0"), 1);
    EXPECT_EQ(ErrorLine("5 57,203"), 1);
    EXPECT_EQ(ErrorLine("5 DIK_SPACE"), 1);
    EXPECT_EQ(ErrorLine("\n\n5 57 -3"), 3);
    EXPECT_EQ(ErrorLine(std::string_view("5 5\0"
                                         "7",
                                         5)),
              1);
}

TEST(ScriptParser, CapturesNeedOnePlainPngNameInTheWorkingFolder) {
    EXPECT_EQ(ErrorLine("capture"), 1);
    EXPECT_EQ(ErrorLine("capture a.png b.png"), 1);
    EXPECT_EQ(ErrorLine("capture shot.bmp"), 1);
    EXPECT_EQ(ErrorLine("capture .png"), 1);
    EXPECT_EQ(ErrorLine("capture ../shot.png"), 1);
    EXPECT_EQ(ErrorLine("capture /tmp/shot.png"), 1);
    EXPECT_EQ(ErrorLine("capture .hidden.png"), 1);
    EXPECT_EQ(ErrorLine("Capture shot.png"), 1);
    EXPECT_EQ(ErrorLine("capture frame_01-a.png"), 0);
}

TEST(ScriptPlayer, PlaysEachLineForItsCountThenReportsEveryKeyUp) {
    ScriptPlayer player(Parsed("2 57\ncapture a.png\ncapture b.png\n1 203 205\ncapture end.png"));
    std::array<std::uint8_t, 256> keys{};
    std::vector<std::string> captures;

    EXPECT_TRUE(player.Next(keys, captures));
    EXPECT_EQ(keys[57], 0x80);
    EXPECT_TRUE(player.Next(keys, captures));
    EXPECT_EQ(keys[57], 0x80);
    EXPECT_TRUE(captures.empty());

    EXPECT_TRUE(player.Next(keys, captures));
    EXPECT_EQ(keys[57], 0);
    EXPECT_EQ(keys[203], 0x80);
    EXPECT_EQ(keys[205], 0x80);
    EXPECT_EQ(captures, (std::vector<std::string>{"a.png", "b.png"}));

    captures.clear();
    EXPECT_FALSE(player.Next(keys, captures));
    EXPECT_EQ(captures, std::vector<std::string>{"end.png"});
    EXPECT_EQ(std::count(keys.begin(), keys.end(), 0), 256);
    EXPECT_FALSE(player.Next(keys, captures));
}

TEST(ScriptPlayer, ACloseIsReachedWithTheReadOfTheFrameBeforeIt) {
    EXPECT_EQ(ErrorLine("1\nclose now"), 2);
    ScriptPlayer player(Parsed("2 205\nclose\n1 57"));
    std::array<std::uint8_t, 256> keys{};
    std::vector<std::string> captures;
    EXPECT_TRUE(player.Next(keys, captures));
    EXPECT_FALSE(player.CloseReached());
    EXPECT_TRUE(player.Next(keys, captures));
    EXPECT_EQ(keys[205], 0x80);
    EXPECT_TRUE(player.CloseReached()) << "during the last read before the close";
    EXPECT_TRUE(player.Next(keys, captures));
    EXPECT_EQ(keys[57], 0x80) << "frames after a close play on";

    ScriptPlayer closing(Parsed("close\n3"));
    EXPECT_TRUE(closing.Next(keys, captures));
    EXPECT_TRUE(closing.CloseReached()) << "at the first read";
}

} // namespace
