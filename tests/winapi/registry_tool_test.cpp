// The command-line tool, run as a user would, against the same store as the operations.

#include "../command_outcome.h"
#include "registry_fixture.h"

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using RegistryTool = RegistryTest;

// Standard output and error together; with errorsOnly, the standard error alone.
CommandOutcome RunTool(const std::string& arguments, bool errorsOnly = false) {
    return RunCommand(std::string(QUILLERBY_REG_TOOL) + " " + arguments +
                      (errorsOnly ? " 2>&1 >/dev/null" : " 2>&1"));
}

TEST_F(RegistryTool, SetValuesReadBackThroughTheOperations) {
    ASSERT_EQ(RunTool("set 'HKLM\\Software\\Microsoft\\DirectX SDK' 'DX9D4SDK Samples Path' "
                      "REG_SZ '/opt/dx sdk'")
                  .exitCode,
              0);
    ASSERT_EQ(RunTool("set 'hkey_current_user\\Game' Lives dword 0x2A").exitCode, 0);
    ASSERT_EQ(RunTool("set HKCU\\\\Game Id binary '00 ff,10'").exitCode, 0);

    HKEY sdk = nullptr;
    ASSERT_EQ(
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX SDK", 0, KEY_READ, &sdk),
        ERROR_SUCCESS);
    DWORD type = 0;
    EXPECT_EQ(Query(sdk, "DX9D4SDK Samples Path", &type),
              (std::vector<BYTE>{'/', 'o', 'p', 't', '/', 'd', 'x', ' ', 's', 'd', 'k', 0}));
    EXPECT_EQ(type, DWORD{REG_SZ});
    RegCloseKey(sdk);
    HKEY game = Create(HKEY_CURRENT_USER, "Game", KEY_READ);
    EXPECT_EQ(Query(game, "Lives", &type), (std::vector<BYTE>{42, 0, 0, 0}));
    EXPECT_EQ(type, DWORD{REG_DWORD});
    EXPECT_EQ(Query(game, "Id", &type), (std::vector<BYTE>{0x00, 0xFF, 0x10}));
    EXPECT_EQ(type, DWORD{REG_BINARY});
    RegCloseKey(game);
}

TEST_F(RegistryTool, ListAndGetShowWhatTheOperationsWrote) {
    HKEY key = Create(HKEY_CURRENT_USER, "Game");
    RegCloseKey(Create(key, "Levels"));
    ASSERT_EQ(SetString(key, nullptr, "main"), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, "Lives", 3), ERROR_SUCCESS);
    const BYTE bare[] = {'n', 'o', 'z'};
    ASSERT_EQ(RegSetValueExA(key, "Bare", 0, REG_SZ, bare, sizeof bare), ERROR_SUCCESS);
    RegCloseKey(key);

    const CommandOutcome list = RunTool("list HKCU\\\\Game");
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.output, "Levels\\\n"
                           "(default)\tREG_SZ\tmain\n"
                           "Lives\tREG_DWORD\t0x00000003 (3)\n"
                           "Bare\tREG_SZ\tnoz\n");
    const CommandOutcome get = RunTool("get HKCU\\\\Game Lives");
    EXPECT_EQ(get.exitCode, 0);
    EXPECT_EQ(get.output, "REG_DWORD\t0x00000003 (3)\n");
    EXPECT_EQ(RunTool("get HKCU\\\\Game").output, "REG_SZ\tmain\n");
}

TEST_F(RegistryTool, FailuresExplainThemselvesAndChangeNothing) {
    const CommandOutcome missing = RunTool("get 'HKLM\\Software\\Microsoft\\DirectX SDK' Path");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.output.find("ERROR_FILE_NOT_FOUND"), std::string::npos) << missing.output;

    for (const char* misuse :
         {"set HKCU\\\\Game Lives REG_DWORD 12z", "set HKCU\\\\Game Lives REG_DWORD 4294967296",
          "set HKCU\\\\Game Id REG_BINARY 0g", "set HKCU\\\\Game Id REG_QWORD 1",
          "set Nowhere\\\\Game Lives REG_DWORD 1", "list", "frobnicate HKCU"}) {
        EXPECT_EQ(RunTool(misuse).exitCode, 2) << misuse;
    }
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Game", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);

    RegCloseKey(Create(HKEY_CURRENT_USER, "Game\\Levels"));
    EXPECT_EQ(RunTool("delete-key HKCU\\\\Game").exitCode, 1) << "it has a subkey";
    EXPECT_EQ(RunTool("delete-key HKCU\\\\Game\\\\Levels").exitCode, 0);
}

TEST_F(RegistryTool, HelpAndVersionAnswerAndUnknownOptionsAreUsageErrors) {
    const CommandOutcome help = RunTool("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.output.rfind("usage: quillerby-reg", 0), 0u) << help.output;
    const CommandOutcome version = RunTool("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output.rfind("quillerby-reg ", 0), 0u) << version.output;
    for (const char* misuse : {"--bogus", "--bogus HKCU", "--help HKCU", "-l HKCU"}) {
        const CommandOutcome outcome = RunTool(misuse, true);
        EXPECT_EQ(outcome.exitCode, 2) << misuse;
        EXPECT_EQ(outcome.output.rfind("usage: quillerby-reg", 0), 0u) << outcome.output;
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder_));
}

TEST_F(RegistryTool, ARefusedStoreFolderIsNamedWithTheReason) {
    const auto expectRefusal = [&](const std::string& reason) {
        for (const char* command : {"list HKCU", "get HKCU\\\\Game Lives",
                                    "set HKCU\\\\Game Lives dword 1", "delete-key HKCU\\\\Game"}) {
            const CommandOutcome outcome = RunTool(command, true);
            EXPECT_EQ(outcome.exitCode, 1) << command;
            EXPECT_NE(outcome.output.find(folder_.string()), std::string::npos) << outcome.output;
            EXPECT_NE(outcome.output.find(reason), std::string::npos) << outcome.output;
        }
        EXPECT_TRUE(std::filesystem::is_empty(folder_));
    };
    ASSERT_EQ(chmod(folder_.c_str(), 0777), 0);
    expectRefusal("others");
    if (geteuid() == 0) {
        ASSERT_EQ(chmod(folder_.c_str(), 0700), 0);
        ASSERT_EQ(chown(folder_.c_str(), 65534, 65534), 0);
        expectRefusal("another user");
    }
}

} // namespace
