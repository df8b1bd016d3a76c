// The real program beside a missing, truncated or corrupt asset: it logs what failed, plays on
// where it can or stops after the set-up, and exits with code 0 in either case.

#include "../game/working_folder.h"
#include "game_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using Bytes = std::vector<char>;

enum class Damage { Missing, Truncated, Corrupt };

struct DamagedAsset {
    const char* name;
    const char* asset;
    Damage damage;
    // The log's lines from the textures' loading on.
    Lines loadLines;
    // Whether the game then plays to its shutdown; if not the load lines end the log.
    bool plays;
    // A line of the error trace on standard error, if the failure is traced.
    const char* traced = nullptr;
};

void PrintTo(const DamagedAsset& asset, std::ostream* out) {
    *out << asset.name;
}

const Lines setUpLines = {"Log file created successfully!",
                          "",
                          "Sprite Handler Created",
                          "Direct3D objects initialized",
                          "DirectSound Initialized",
                          "DirectInput Initialized",
                          "Mouse Initialized",
                          "Keyboard Initialized"};

// Rewrites the copy in the working folder. A corrupt bitmap has its info header garbled, a
// corrupt wave its format chunk.
void Spoil(const std::filesystem::path& file, Damage damage) {
    if (damage == Damage::Missing) {
        std::filesystem::remove(file);
        return;
    }
    Bytes bytes;
    {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (damage == Damage::Truncated) {
        bytes.resize(bytes.size() / 2);
    } else {
        const std::size_t from = file.extension() == ".bmp" ? 14 : 20;
        const std::size_t to = file.extension() == ".bmp" ? 54 : 36;
        std::fill(bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(to),
                  static_cast<char>(0xA5));
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class EndToEndDamagedAsset : public testing::TestWithParam<DamagedAsset> {};

TEST_P(EndToEndDamagedAsset, LogsTheFailureAndExitsWithCodeZero) {
    const DamagedAsset& asset = GetParam();
    WorkingFolder folder;
    Spoil(folder.Path() / asset.asset, asset.damage);
    // Ride both ways, jumping and hitting, then Escape.
    std::ofstream(folder.Path() / "ride.txt") << "40\n"
                                                 "30 205 48\n"
                                                 "1 57\n"
                                                 "20 203 48\n"
                                                 "5 1\n";

    VirtualDisplay display;
    ASSERT_FALSE(display.name.empty()) << "Xvfb did not start";
    GameEnvironment environment(display.name, "ride.txt");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "stderr.txt",
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    Child game({QUILLERBY_PROGRAM}, &actions, environment.Get());
    posix_spawn_file_actions_destroy(&actions);
    ASSERT_TRUE(game.Started());
    const int exitCode = game.WaitForExit(std::chrono::seconds(120));
    std::string errors;
    for (const std::string& line : ReadLines((folder.Path() / "stderr.txt").string())) {
        errors += line + "\n";
    }
    EXPECT_EQ(exitCode, 0) << "standard error:\n" << errors;

    const Lines lines = ReadLines((folder.Path() / "Log.txt").string());
    ASSERT_GE(lines.size(), setUpLines.size() + asset.loadLines.size());
    ASSERT_TRUE(std::equal(setUpLines.begin(), setUpLines.end(), lines.begin()));
    const auto loading = lines.begin() + static_cast<long>(setUpLines.size());
    EXPECT_TRUE(std::equal(asset.loadLines.begin(), asset.loadLines.end(), loading))
        << "after the set-up: " << *loading;
    const auto afterLoading = loading + static_cast<long>(asset.loadLines.size());
    if (asset.plays) {
        // At least two lines a frame for the 91 frames before Escape.
        EXPECT_GE(lines.end() - afterLoading, 2 * 91);
        EXPECT_EQ(lines.back(), "Game shut down!");
    } else {
        EXPECT_EQ(afterLoading, lines.end()) << "nothing after the failed set-up";
    }

    if (asset.traced != nullptr) {
        EXPECT_NE(errors.find(asset.traced), std::string::npos) << "no trace of " << asset.traced;
    }
}

const Lines bikerFails = {"LoadTexture() Successful", "D3DXGetImageInfoFromFile failed",
                          "LoadSound() Successful", "Game Specific Objects Initialized"};
const Lines tilesFail = {"D3DXGetImageInfoFromFile failed", "LoadTexture() Successful",
                         "LoadSound() Successful", "Game Specific Objects Initialized"};
const Lines soundFails = {"LoadTexture() Successful", "LoadTexture() Successful",
                          "LoadSound() Create failed", "Error running Game_Init"};
// Half a wave still makes a clip; filling its buffer runs out of data.
const Lines soundCutShort = {"LoadTexture() Successful", "LoadTexture() Successful",
                             "LoadSound() Successful", "Game Specific Objects Initialized"};

INSTANTIATE_TEST_SUITE_P(
    Each, EndToEndDamagedAsset,
    testing::Values(
        DamagedAsset{"BikerMissing", "Biker2.bmp", Damage::Missing, bikerFails, true},
        DamagedAsset{"BikerTruncated", "Biker2.bmp", Damage::Truncated, bikerFails, true},
        DamagedAsset{"BikerCorrupt", "Biker2.bmp", Damage::Corrupt, bikerFails, true},
        DamagedAsset{"TilesMissing", "TilesFun2.bmp", Damage::Missing, tilesFail, true},
        DamagedAsset{"TilesTruncated", "TilesFun2.bmp", Damage::Truncated, tilesFail, true},
        DamagedAsset{"TilesCorrupt", "TilesFun2.bmp", Damage::Corrupt, tilesFail, true},
        DamagedAsset{"SoundMissing", "hit1.wav", Damage::Missing, soundFails, false,
                     "FindResource hr=E_FAIL"},
        DamagedAsset{"SoundTruncated", "hit1.wav", Damage::Truncated, soundCutShort, true,
                     "Read hr=E_FAIL"},
        DamagedAsset{"SoundCorrupt", "hit1.wav", Damage::Corrupt, soundFails, false,
                     "CreateSoundBuffer hr=DSERR_BADFORMAT"}),
    [](const testing::TestParamInfo<DamagedAsset>& info) { return std::string(info.param.name); });

} // namespace
