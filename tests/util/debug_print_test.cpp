#include "util/debug_print.h"

#include "winapi/hooks/debug.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(DebugPrint, WritesTheFormattedTextInOnePieceCutAt511Characters) {
    std::vector<std::string> pieces;
    winapi::hooks::CaptureDebugOutput(&pieces);
    DebugPrint("%s=%d, %.2f", "frames", 42, 1.5);
    const std::string long_text(600, 'x');
    DebugPrint("[%s]", long_text.c_str());
    winapi::hooks::CaptureDebugOutput(nullptr);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], "frames=42, 1.50");
    EXPECT_EQ(pieces[1], "[" + std::string(510, 'x'));
}

} // namespace
