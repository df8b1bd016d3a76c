// Files that are well formed but too big, or that hold very many values: the store must stay
// quick and must never write a file it would refuse to read.

#include "registry_fixture.h"

#include <array>
#include <fstream>
#include <sys/stat.h>

namespace {

using RegistryFileBounds = RegistryTest;

// The size above which a root's file counts as damaged (see winapi/winreg.h).
constexpr std::size_t kFileBound = std::size_t{64} << 20;

// A root's file holding only the root key and the given values, as the store writes it.
class HiveBytes {
public:
    void Value(const std::string& name, DWORD type, std::size_t dataSize, BYTE fill = 0) {
        values_.push_back({name, type, dataSize, fill});
    }

    std::vector<char> Bytes() const {
        std::vector<char> out = {'Q', 'R', 'E', 'G'};
        Little(out, 1, 4); // version
        Little(out, 1, 8); // next key id
        Little(out, 1, 4); // key count
        Little(out, 0, 8); // the root's id
        Little(out, 0, 4); // and empty path
        Little(out, values_.size(), 4);
        for (const auto& value : values_) {
            Little(out, value.name.size(), 4);
            out.insert(out.end(), value.name.begin(), value.name.end());
            Little(out, value.type, 4);
            Little(out, value.size, 4);
            out.insert(out.end(), value.size, static_cast<char>(value.fill));
        }
        Little(out, Crc32(out), 4);
        return out;
    }

private:
    struct Entry {
        std::string name;
        DWORD type;
        std::size_t size;
        BYTE fill;
    };

    static void Little(std::vector<char>& out, std::uint64_t v, int size) {
        for (int i = 0; i < size; ++i) {
            out.push_back(static_cast<char>(v >> (8 * i)));
        }
    }

    static std::uint32_t Crc32(const std::vector<char>& bytes) {
        std::array<std::uint32_t, 256> table{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int bit = 0; bit < 8; ++bit) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            table[i] = c;
        }
        std::uint32_t crc = 0xFFFFFFFFu;
        for (const char b : bytes) {
            crc = table[(crc ^ static_cast<BYTE>(b)) & 0xFF] ^ (crc >> 8);
        }
        return crc ^ 0xFFFFFFFFu;
    }

    std::vector<Entry> values_;
};

void WriteFile(const std::filesystem::path& path, const std::vector<char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

ino_t Inode(const std::filesystem::path& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST_F(RegistryFileBounds, AWellFormedFileAboveTheBoundIsDamagedAndKept) {
    const auto file = folder_ / "current_user.hive";
    HiveBytes small;
    small.Value("Big", REG_BINARY, 16);
    WriteFile(file, small.Bytes());
    ASSERT_EQ(Query(HKEY_CURRENT_USER, "Big").size(), 16u) << "the hand-made file reads";

    HiveBytes big;
    big.Value("Big", REG_BINARY, kFileBound, 0x5A);
    WriteFile(file, big.Bytes());
    const ino_t inode = Inode(file);
    LONG status = 0;
    Query(HKEY_CURRENT_USER, "Big", nullptr, &status);
    EXPECT_EQ(status, ERROR_BADDB);
    EXPECT_EQ(SetDword(HKEY_CURRENT_USER, "x", 1), ERROR_BADDB);
    EXPECT_EQ(Inode(file), inode) << "a refused file is never replaced";
    EXPECT_GT(std::filesystem::file_size(file), kFileBound);
}

TEST_F(RegistryFileBounds, AWriteThatWouldPassTheBoundFailsAndChangesNothing) {
    ASSERT_EQ(SetDword(HKEY_CURRENT_USER, "x", 7), ERROR_SUCCESS);
    const auto file = folder_ / "current_user.hive";
    const auto before = std::filesystem::file_size(file);
    const std::vector<BYTE> huge(kFileBound);
    EXPECT_EQ(RegSetValueExA(HKEY_CURRENT_USER, "Huge", 0, REG_BINARY, huge.data(),
                             static_cast<DWORD>(huge.size())),
              ERROR_CANTWRITE);
    EXPECT_EQ(std::filesystem::file_size(file), before);
    EXPECT_EQ(Query(HKEY_CURRENT_USER, "x"), (std::vector<BYTE>{7, 0, 0, 0}));
    LONG status = 0;
    Query(HKEY_CURRENT_USER, "Huge", nullptr, &status);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
    // Just under the bound is still written.
    const std::vector<BYTE> large(kFileBound - 1024);
    EXPECT_EQ(RegSetValueExA(HKEY_CURRENT_USER, "Large", 0, REG_BINARY, large.data(),
                             static_cast<DWORD>(large.size())),
              ERROR_SUCCESS);
    EXPECT_EQ(Query(HKEY_CURRENT_USER, "Large").size(), large.size());
}

// Checking each value against every earlier one took about a minute for a key of this size, even
// optimised; one pass takes well under a second.
TEST_F(RegistryFileBounds, AKeyWithVeryManyValuesReads) {
    constexpr int kValues = 100000;
    HiveBytes many;
    for (int i = 0; i < kValues; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "v%07d", i);
        many.Value(name, REG_DWORD, 4, static_cast<BYTE>(i));
    }
    WriteFile(folder_ / "current_user.hive", many.Bytes());
    EXPECT_EQ(Query(HKEY_CURRENT_USER, "V0099999"), (std::vector<BYTE>{159, 159, 159, 159}));
}

TEST_F(RegistryFileBounds, ValueNamesThatDifferOnlyInCaseAreDuplicates) {
    const auto file = folder_ / "current_user.hive";
    HiveBytes distinct;
    distinct.Value("Lives", REG_DWORD, 4);
    distinct.Value("Lives2", REG_DWORD, 4);
    distinct.Value("", REG_SZ, 1);
    WriteFile(file, distinct.Bytes());
    LONG status = 0;
    Query(HKEY_CURRENT_USER, "lives", nullptr, &status);
    EXPECT_EQ(status, ERROR_SUCCESS);

    for (const char* second : {"LIVES", "lives", "Lives"}) {
        HiveBytes twice;
        twice.Value("Lives", REG_DWORD, 4);
        twice.Value("Other", REG_DWORD, 4);
        twice.Value(second, REG_DWORD, 4);
        WriteFile(file, twice.Bytes());
        Query(HKEY_CURRENT_USER, "Other", nullptr, &status);
        EXPECT_EQ(status, ERROR_BADDB) << second;
    }
}

} // namespace
