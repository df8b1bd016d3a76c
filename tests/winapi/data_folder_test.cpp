// The installed game's data folder: files opened for reading by relative names that the working
// folder lacks come from it; everything written stays in the working folder.

#include "path_test_tree.h"
#include "winapi/data_folder.h"

#include <SDL.h>
#include <d3dx9.h>
#include <gtest/gtest.h>
#include <mmsystem.h>

namespace {

using testing_tree::TempTree;

void SavePicture(const std::filesystem::path& file, int width) {
    SDL_Surface* picture =
        SDL_CreateRGBSurfaceWithFormat(0, width, 2, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_SaveBMP(picture, file.c_str());
    SDL_FreeSurface(picture);
}

class DataFolder : public ::testing::Test {
protected:
    DataFolder() : data_(tree_.Folder("share/quillerby")), working_(tree_.Folder("state")) {
        std::filesystem::copy_file(std::filesystem::path(QUILLERBY_MMIO_SAMPLES) / "tone16.wav",
                                   data_ / "hit.wav");
        SavePicture(data_ / "tiles.bmp", 3);
        winapi::SetDataFolder(data_.string());
    }
    ~DataFolder() override { winapi::SetDataFolder(""); }

    static bool OpensForReading(const char* name) {
        HMMIO file = mmioOpenA(const_cast<LPSTR>(name), nullptr, MMIO_READ);
        if (file != nullptr) {
            mmioClose(file, 0);
        }
        return file != nullptr;
    }

    static UINT ImageWidth(const char* name) {
        D3DXIMAGE_INFO info{};
        return SUCCEEDED(D3DXGetImageInfoFromFileA(name, &info)) ? info.Width : 0;
    }

    TempTree tree_;
    std::filesystem::path data_;
    std::filesystem::path working_;
    testing_tree::WorkingFolder inWorking_{working_};
};

TEST_F(DataFolder, RelativeNamesMissingFromTheWorkingFolderAreReadFromIt) {
    EXPECT_TRUE(OpensForReading("hit.wav"));
    EXPECT_EQ(ImageWidth("tiles.bmp"), 3u);
    EXPECT_FALSE(OpensForReading("missing.wav"));
    EXPECT_EQ(ImageWidth("missing.bmp"), 0u);
    // Absolute names mean exactly that file.
    EXPECT_FALSE(OpensForReading((working_ / "hit.wav").c_str()));

    winapi::SetDataFolder("");
    EXPECT_FALSE(OpensForReading("hit.wav"));
    EXPECT_EQ(ImageWidth("tiles.bmp"), 0u);
}

TEST_F(DataFolder, TheWorkingFolderComesFirstAndTakesEveryWrite) {
    SavePicture(working_ / "tiles.bmp", 5);
    EXPECT_EQ(ImageWidth("tiles.bmp"), 5u);

    // Opening for writing never reaches the installed file: read-write finds no file here, and
    // creating makes a new one here.
    EXPECT_EQ(mmioOpenA(const_cast<LPSTR>("hit.wav"), nullptr, MMIO_READWRITE), nullptr);
    HMMIO created = mmioOpenA(const_cast<LPSTR>("hit.wav"), nullptr, MMIO_CREATE | MMIO_WRITE);
    ASSERT_NE(created, nullptr);
    mmioClose(created, 0);
    EXPECT_EQ(std::filesystem::file_size(working_ / "hit.wav"), 0u);
    EXPECT_GT(std::filesystem::file_size(data_ / "hit.wav"), 0u);
}

} // namespace
