// Image files whose headers claim far more pixels than they hold: they must be refused before
// room for those pixels is taken. Each load runs in a child process, which reports how far its
// peak memory grew.

#include "graphics_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& bytes, std::size_t at, std::uint64_t value, int size, bool big = false) {
    for (int i = 0; i < size; ++i) {
        bytes[at + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(value >> (8 * (big ? size - 1 - i : i)));
    }
}

// A 3 by 2 24-bit BMP whose header is then edited by the caller.
Bytes SmallBmp() {
    Bytes bytes(54 + 2 * 12, 0x40);
    bytes[0] = 'B';
    bytes[1] = 'M';
    Put(bytes, 2, bytes.size(), 4);
    Put(bytes, 6, 0, 4);
    Put(bytes, 10, 54, 4);
    Put(bytes, 14, 40, 4);
    Put(bytes, 18, 3, 4);
    Put(bytes, 22, 2, 4);
    Put(bytes, 26, 1, 2);
    Put(bytes, 28, 24, 2);
    Put(bytes, 30, 0, 4);
    Put(bytes, 34, 24, 4);
    std::fill(bytes.begin() + 38, bytes.begin() + 54, 0); // resolution and palette counts
    return bytes;
}

// A real 16 by 16 JPEG whose frame header then claims 16000 by 16000.
Bytes LargeJpeg() {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 16, 16, 24, SDL_PIXELFORMAT_RGB24);
    EXPECT_NE(surface, nullptr);
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("image-header-" + std::to_string(getpid()) + ".jpg"))
                                 .string();
    EXPECT_EQ(IMG_SaveJPG(surface, path.c_str(), 90), 0);
    SDL_FreeSurface(surface);
    std::ifstream in(path, std::ios::binary);
    Bytes jpeg((std::istreambuf_iterator<char>(in)), {});
    std::filesystem::remove(path);
    for (std::size_t at = 2; at + 9 < jpeg.size(); ++at) {
        if (jpeg[at] == 0xFF && jpeg[at + 1] == 0xC0) {
            Put(jpeg, at + 5, 16000, 2, true);
            Put(jpeg, at + 7, 16000, 2, true);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

class ImageHeaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "image-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Write(const std::string& name, const Bytes& bytes) {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    struct Load {
        HRESULT result = E_FAIL;
        long growthMb = -1; // how far the peak resident memory grew
        UINT width = 0;
    };

    static Load LoadInChild(const std::string& path) {
        int channel[2];
        EXPECT_EQ(pipe(channel), 0);
        const pid_t child = fork();
        if (child == 0) {
            rusage before{};
            getrusage(RUSAGE_SELF, &before);
            D3DXIMAGE_INFO info{};
            Load load;
            load.result = D3DXGetImageInfoFromFileA(path.c_str(), &info);
            rusage after{};
            getrusage(RUSAGE_SELF, &after);
            load.growthMb = (after.ru_maxrss - before.ru_maxrss) / 1024;
            load.width = info.Width;
            const bool sent = write(channel[1], &load, sizeof load) == sizeof load;
            _exit(sent ? 0 : 1);
        }
        close(channel[1]);
        Load load;
        EXPECT_EQ(read(channel[0], &load, sizeof load), static_cast<ssize_t>(sizeof load));
        close(channel[0]);
        int status = 0;
        EXPECT_EQ(waitpid(child, &status, 0), child);
        return load;
    }

    std::filesystem::path folder_;
};

TEST_F(ImageHeaderTest, HeadersClaimingMorePixelsThanTheFileHoldsAreRefusedWithoutMemory) {
    std::vector<std::pair<std::string, Bytes>> files;
    Bytes bmp = SmallBmp();
    Put(bmp, 18, 16000, 4);
    Put(bmp, 22, 16000, 4);
    files.emplace_back("plain.bmp", bmp);
    Put(bmp, 22, static_cast<std::uint32_t>(-16000), 4); // rows top down
    Put(bmp, 28, 32, 2);
    files.emplace_back("top_down.bmp", bmp);
    Bytes core = SmallBmp(); // the oldest header, with 16-bit sides
    Put(core, 14, 12, 4);
    Put(core, 18, 16000, 2);
    Put(core, 20, 16000, 2);
    Put(core, 22, 1, 2);
    Put(core, 24, 24, 2);
    files.emplace_back("core.bmp", core);
    Bytes oversized = SmallBmp(); // sides beyond any texture, from a mangled header
    Put(oversized, 14, 0x280000, 4);
    Put(oversized, 18, 0x03000000, 4);
    Put(oversized, 22, 0x02000000, 4);
    files.emplace_back("oversized.bmp", oversized);

    // A PNG whose header says 16384 by 16384 and whose data is a few bytes.
    const std::string small = (folder_ / "small.png").string();
    graphics_test::WritePng(small, 2, 2, std::vector<std::uint32_t>(4, 0x80FF00FF));
    std::ifstream in(small, std::ios::binary);
    Bytes png((std::istreambuf_iterator<char>(in)), {});
    Put(png, 16, 16384, 4, true);
    Put(png, 20, 16384, 4, true);
    std::uint32_t crc = 0xFFFFFFFFu; // the header chunk's checksum, over its type and data
    for (std::size_t i = 12; i < 29; ++i) {
        crc ^= png[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) != 0 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
        }
    }
    Put(png, 29, crc ^ 0xFFFFFFFFu, 4, true);
    files.emplace_back("large.png", png);

    // Run-length rows and JPEG need not hold every pixel: these claim 180 and 256 M of them.
    Bytes runLength = SmallBmp();
    runLength.resize(38);
    Put(runLength, 18, 13568, 4);
    Put(runLength, 22, 13312, 4);
    Put(runLength, 28, 8, 2);
    Put(runLength, 30, 1, 4); // BI_RLE8
    files.emplace_back("run_length.bmp", runLength);
    files.emplace_back("large.jpg", LargeJpeg());

    for (const auto& [name, bytes] : files) {
        const Load load = LoadInChild(Write(name, bytes));
        EXPECT_EQ(load.result, D3DXERR_INVALIDDATA) << name;
        EXPECT_LT(load.growthMb, 64) << name;
    }
}

TEST_F(ImageHeaderTest, LargeImagesThatTheirBytesDoHoldStillLoad) {
    // Deflate packs a blank picture about a thousand to one: the bound must allow that.
    const std::string blank = (folder_ / "blank.png").string();
    graphics_test::WritePng(blank, 2048, 1024, std::vector<std::uint32_t>(2048 * 1024, 0));
    EXPECT_LT(std::filesystem::file_size(blank), 64u * 1024);
    Load load = LoadInChild(blank);
    EXPECT_EQ(load.result, D3D_OK);
    EXPECT_EQ(load.width, 2048u);

    const std::string wide = (folder_ / "wide.bmp").string();
    graphics_test::WriteBmp(wide, 1001, 3, std::vector<std::uint32_t>(3003, 0x102030));
    load = LoadInChild(wide);
    EXPECT_EQ(load.result, D3D_OK);
    EXPECT_EQ(load.width, 1001u);
}

} // namespace
