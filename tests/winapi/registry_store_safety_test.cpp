// What the store does with files and folders it did not make: links planted where its temporary
// and lock files go, and folders that someone else could plant files in.

#include "registry_fixture.h"

#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using RegistryStoreSafety = RegistryTest;
namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool IsPlainFile(const fs::path& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

TEST_F(RegistryStoreSafety, APlantedTemporaryLinkIsNeitherFollowedNorKept) {
    const fs::path elsewhere = folder_ / "elsewhere";
    fs::create_directory(elsewhere);
    const fs::path victim = elsewhere / "victim";
    std::ofstream(victim) << "not the registry's";
    const fs::path dangling = elsewhere / "made-through-the-link";
    const fs::path temporary = folder_ / "current_user.hive.tmp";

    DWORD value = 1;
    for (const fs::path& target : {victim, dangling}) {
        SCOPED_TRACE(target.string());
        fs::remove(temporary);
        fs::create_symlink(target, temporary);
        ASSERT_EQ(SetDword(HKEY_CURRENT_USER, "x", ++value), ERROR_SUCCESS);
        EXPECT_EQ(ReadText(victim), "not the registry's");
        EXPECT_FALSE(fs::exists(dangling));
        EXPECT_TRUE(IsPlainFile(folder_ / "current_user.hive"));
        EXPECT_FALSE(fs::exists(fs::symlink_status(temporary))) << "no temporary file is left";
        DWORD read = 0;
        DWORD size = sizeof read;
        EXPECT_EQ(RegQueryValueExA(HKEY_CURRENT_USER, "x", nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&read), &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(read, value);
    }
}

TEST_F(RegistryStoreSafety, ALinkInPlaceOfTheLockFileIsNotFollowed) {
    ASSERT_EQ(SetDword(HKEY_CURRENT_USER, "x", 1), ERROR_SUCCESS);
    const fs::path elsewhere = folder_ / "elsewhere";
    fs::create_directory(elsewhere);
    const fs::path target = elsewhere / "made-through-the-link";
    const fs::path lock = folder_ / "current_user.hive.lock";
    fs::remove(lock);
    fs::create_symlink(target, lock);

    EXPECT_EQ(SetDword(HKEY_CURRENT_USER, "x", 2), ERROR_CANTWRITE);
    EXPECT_FALSE(fs::exists(target));
    DWORD read = 0;
    DWORD size = sizeof read;
    EXPECT_EQ(RegQueryValueExA(HKEY_CURRENT_USER, "x", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&read), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(read, 1u);
}

// Reading and writing are both refused, and nothing is created in the folder.
void ExpectRefused(const fs::path& folder) {
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(HKEY_CURRENT_USER, "x", nullptr, nullptr, nullptr, &size),
              ERROR_ACCESS_DENIED);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_ACCESS_DENIED);
    const DWORD one = 1;
    EXPECT_EQ(RegSetValueExA(HKEY_CURRENT_USER, "x", 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&one), sizeof one),
              ERROR_ACCESS_DENIED);
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(RegistryStoreSafety, AFolderThatOthersCanWriteIsRefused) {
    for (const mode_t mode : {0770, 0702, 01777}) {
        SCOPED_TRACE(testing::Message() << "mode " << std::oct << mode);
        ASSERT_EQ(chmod(folder_.c_str(), mode), 0);
        ExpectRefused(folder_);
    }
    ASSERT_EQ(chmod(folder_.c_str(), 0755), 0);
    EXPECT_EQ(SetDword(HKEY_CURRENT_USER, "x", 1), ERROR_SUCCESS) << "readable by all is fine";
}

TEST_F(RegistryStoreSafety, AnotherUsersFolderIsRefused) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "handing the folder to another user needs root";
    }
    ASSERT_EQ(chown(folder_.c_str(), 65534, 65534), 0);
    ExpectRefused(folder_);
}

TEST_F(RegistryStoreSafety, WhatTheStoreCreatesIsPrivateWhateverTheMask) {
    const mode_t saved = umask(0);
    const fs::path nested = folder_ / "a" / "b";
    setenv("WINAPI_REGISTRY_DIR", nested.c_str(), 1);
    EXPECT_EQ(SetDword(HKEY_CURRENT_USER, "x", 1), ERROR_SUCCESS);
    umask(saved);
    for (const fs::path& made : {folder_ / "a", nested}) {
        struct stat info {};
        ASSERT_EQ(stat(made.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0700u) << made;
    }
    for (const char* file : {"current_user.hive", "current_user.hive.lock"}) {
        struct stat info {};
        ASSERT_EQ(stat((nested / file).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u) << file;
    }
}

} // namespace
