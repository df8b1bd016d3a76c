#pragma once
// A fresh folder holding copies of the named game assets, the working folder while it lives.

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

inline const char* const allAssets[] = {"Biker2.bmp", "TilesFun2.bmp", "hit1.wav"};

class WorkingFolder {
public:
    explicit WorkingFolder(const std::vector<std::string>& assets = {allAssets[0], allAssets[1],
                                                                     allAssets[2]})
        : previous(std::filesystem::current_path()) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillerby-XXXXXX").string();
        folder = mkdtemp(pattern.data());
        for (const auto& asset : assets) {
            std::filesystem::copy_file(std::filesystem::path(QUILLERBY_ASSETS_DIR) / asset,
                                       folder / asset);
        }
        std::filesystem::current_path(folder);
    }
    ~WorkingFolder() {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(folder);
    }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

    const std::filesystem::path& Path() const { return folder; }

private:
    std::filesystem::path previous;
    std::filesystem::path folder;
};
