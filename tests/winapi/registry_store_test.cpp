#include "registry_fixture.h"
#include "winapi/hooks/registry.h"

#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using RegistryStore = RegistryTest;
using winapi::hooks::RegistryWriteStage;

std::vector<char> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& path, const std::vector<char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST_F(RegistryStore, ChangesMadeByAnotherProcessAreSeenThroughOpenHandles) {
    HKEY key = Create(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX SDK");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        HKEY own = nullptr;
        const bool ok = RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software\\microsoft\\directx sdk", 0,
                                      KEY_WRITE, &own) == ERROR_SUCCESS &&
                        SetString(own, "DX9D4SDK Samples Path", "/opt/sdk") == ERROR_SUCCESS;
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(QueryString(key, "DX9D4SDK Samples Path"), "/opt/sdk");
    RegCloseKey(key);
}

TEST_F(RegistryStore, EveryRootIsAPrivateFileInTheNamedFolder) {
    const auto nested = folder_ / "a" / "b";
    setenv("WINAPI_REGISTRY_DIR", nested.c_str(), 1);
    HKEY user = Create(HKEY_CURRENT_USER, "Software");
    HKEY machine = Create(HKEY_LOCAL_MACHINE, "Software");
    ASSERT_EQ(SetDword(user, "x", 1), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(machine, "x", 2), ERROR_SUCCESS);
    EXPECT_TRUE(std::filesystem::exists(nested / "current_user.hive"));
    EXPECT_TRUE(std::filesystem::exists(nested / "local_machine.hive"));
    struct stat info {};
    ASSERT_EQ(stat(nested.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ASSERT_EQ(stat((nested / "current_user.hive").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    RegCloseKey(user);
    RegCloseKey(machine);
}

TEST_F(RegistryStore, WithoutTheVariableTheStoreFollowsTheConfigurationFolders) {
    unsetenv("WINAPI_REGISTRY_DIR");
    const char* savedHome = getenv("HOME");
    const char* savedConfig = getenv("XDG_CONFIG_HOME");
    const std::string home = savedHome != nullptr ? savedHome : "";
    const std::string config = savedConfig != nullptr ? savedConfig : "";

    setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
    EXPECT_EQ(SetDword(HKEY_CURRENT_USER, "x", 1), ERROR_SUCCESS);
    EXPECT_TRUE(std::filesystem::exists(folder_ / "config/quillerby/registry/current_user.hive"));

    setenv("HOME", (folder_ / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    EXPECT_EQ(SetDword(HKEY_CURRENT_USER, "x", 1), ERROR_SUCCESS);
    EXPECT_TRUE(
        std::filesystem::exists(folder_ / "home/.config/quillerby/registry/current_user.hive"));

    savedHome != nullptr ? setenv("HOME", home.c_str(), 1) : unsetenv("HOME");
    savedConfig != nullptr ? setenv("XDG_CONFIG_HOME", config.c_str(), 1)
                           : unsetenv("XDG_CONFIG_HOME");
}

TEST_F(RegistryStore, DamagedFilesAreReportedAndNeverOverwritten) {
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Quillerby");
    ASSERT_EQ(SetString(key, "Name", "biker"), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, "Level", 3), ERROR_SUCCESS);
    const auto file = folder_ / "current_user.hive";
    const std::vector<char> good = ReadFile(file);

    std::vector<std::vector<char>> damaged;
    for (std::size_t size = 0; size < good.size(); ++size) {
        damaged.emplace_back(good.begin(), good.begin() + static_cast<long>(size));
    }
    for (std::size_t bit = 0; bit < good.size() * 8; bit += 7) {
        damaged.push_back(good);
        damaged.back()[bit / 8] = static_cast<char>(damaged.back()[bit / 8] ^ (1 << (bit % 8)));
    }
    damaged.push_back(good);
    damaged.back().push_back(0);

    for (const auto& bytes : damaged) {
        SCOPED_TRACE(testing::Message() << "file of " << bytes.size() << " bytes");
        WriteFile(file, bytes);
        HKEY opened = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &opened), ERROR_BADDB);
        LONG status = 0;
        Query(key, "Name", nullptr, &status);
        EXPECT_EQ(status, ERROR_BADDB);
        EXPECT_EQ(SetDword(key, "Level", 4), ERROR_BADDB);
        EXPECT_EQ(ReadFile(file), bytes);
    }
    WriteFile(file, good);
    EXPECT_EQ(QueryString(key, "Name"), "biker");
    RegCloseKey(key);
}

TEST_F(RegistryStore, UnreadableOrUnwritableStoresFailCleanly) {
    std::filesystem::create_directory(folder_ / "current_user.hive");
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(HKEY_CURRENT_USER, "x", nullptr, nullptr, nullptr, &size),
              ERROR_CANTREAD);

    WriteFile(folder_ / "plain", {'x'});
    setenv("WINAPI_REGISTRY_DIR", (folder_ / "plain" / "below").c_str(), 1);
    EXPECT_EQ(RegQueryValueExA(HKEY_CURRENT_USER, "x", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND)
        << "a store that cannot exist reads as empty";
    EXPECT_EQ(SetDword(HKEY_CURRENT_USER, "x", 1), ERROR_CANTWRITE);
}

TEST_F(RegistryStore, AWriteGoesThroughEveryStageAndAnUnchangedWriteThroughNone) {
    std::vector<RegistryWriteStage> stages;
    winapi::hooks::SetRegistryWriteObserver([&](RegistryWriteStage s) { stages.push_back(s); });
    EXPECT_EQ(SetDword(HKEY_CURRENT_USER, "x", 1), ERROR_SUCCESS);
    const std::vector<RegistryWriteStage> all = {
        RegistryWriteStage::Locked, RegistryWriteStage::TempWritten, RegistryWriteStage::TempSynced,
        RegistryWriteStage::Renamed, RegistryWriteStage::FolderSynced};
    EXPECT_EQ(stages, all);
    stages.clear();
    EXPECT_EQ(SetDword(HKEY_CURRENT_USER, "x", 1), ERROR_SUCCESS);
    EXPECT_EQ(stages, std::vector<RegistryWriteStage>{RegistryWriteStage::Locked});
    winapi::hooks::SetRegistryWriteObserver(nullptr);
}

// Writers that each add values of their own at the same time: a lost update would drop some.
TEST_F(RegistryStore, ConcurrentWritersLoseNothing) {
    constexpr int kProcesses = 3;
    constexpr int kThreads = 2;
    constexpr int kValuesEach = 25;
    RegCloseKey(Create(HKEY_CURRENT_USER, "Shared"));
    auto writeValues = [](int writer) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Shared", 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
            return false;
        }
        bool ok = true;
        for (int i = 0; i < kValuesEach; ++i) {
            const std::string name = "w" + std::to_string(writer) + "-" + std::to_string(i);
            ok = ok && SetDword(key, name.c_str(), static_cast<DWORD>(writer * 1000 + i)) ==
                           ERROR_SUCCESS;
        }
        RegCloseKey(key);
        return ok;
    };
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            _exit(writeValues(p) ? 0 : 1);
        }
        children.push_back(child);
    }
    std::vector<std::thread> threads;
    std::vector<char> threadOk(kThreads, 0);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] { threadOk[t] = writeValues(kProcesses + t); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(threadOk, std::vector<char>(kThreads, 1));

    HKEY key = Create(HKEY_CURRENT_USER, "Shared", KEY_READ);
    for (int writer = 0; writer < kProcesses + kThreads; ++writer) {
        for (int i = 0; i < kValuesEach; ++i) {
            const std::string name = "w" + std::to_string(writer) + "-" + std::to_string(i);
            DWORD value = 0;
            DWORD size = sizeof value;
            ASSERT_EQ(RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(&value), &size),
                      ERROR_SUCCESS)
                << name;
            EXPECT_EQ(value, static_cast<DWORD>(writer * 1000 + i));
        }
    }
    RegCloseKey(key);
}

} // namespace
