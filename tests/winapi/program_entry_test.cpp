// What the programs' main() does before WinMain: the game's own options.

#include "program_options.h"

#include <gtest/gtest.h>

namespace {

using winapi::entry::ParseProgramOptions;
using winapi::entry::ProgramOptions;

std::variant<ProgramOptions, std::string> Parse(std::vector<std::string_view> arguments) {
    return ParseProgramOptions(arguments);
}

TEST(ProgramOptions, OursAreTakenAndTheRestPassedOnInOrder) {
    const auto parsed =
        Parse({"level", "--windowed", "--record", "ride.rec", "-", "--", "--help", "x y"});
    const auto* options = std::get_if<ProgramOptions>(&parsed);
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(options->windowed);
    EXPECT_EQ(options->recordFile, "ride.rec");
    EXPECT_FALSE(options->help || options->version);
    EXPECT_EQ(options->passedOn, (std::vector<std::string>{"level", "-", "--help", "x y"}));

    const auto joined = Parse({"--record=-odd name", "--version", "-h"});
    ASSERT_TRUE(std::holds_alternative<ProgramOptions>(joined));
    EXPECT_EQ(std::get<ProgramOptions>(joined).recordFile, "-odd name");
    EXPECT_TRUE(std::get<ProgramOptions>(joined).version && std::get<ProgramOptions>(joined).help);
}

TEST(ProgramOptions, UnknownOptionsAndARecordWithoutFileAreRefused) {
    for (const auto& arguments : std::vector<std::vector<std::string_view>>{
             {"--record"}, {"--windowed", "--record"}, {"--record="}, {"--record", ""}}) {
        const auto parsed = Parse(arguments);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed));
        EXPECT_EQ(std::get<std::string>(parsed), "--record needs a FILE");
    }
    for (const char* unknown : {"--bogus", "-w", "--Windowed", "--recording=x", "---"}) {
        const auto parsed = Parse({"--windowed", unknown});
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << unknown;
        EXPECT_EQ(std::get<std::string>(parsed), std::string("unknown option ") + unknown);
    }
}

} // namespace
