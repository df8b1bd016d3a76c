#include "winapi/hooks/module.h"
#include <shellapi.h>
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

namespace {

std::string ModuleFileName(HMODULE module) {
    char buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, buffer, MAX_PATH);
    return length != 0 ? std::string(buffer, length) : std::string();
}

TEST(ModuleFileName, IsTheExecutablesOwnPathInThePlatformsForm) {
    const std::string path = ModuleFileName(nullptr);
    ASSERT_EQ(path.rfind("C:\\", 0), 0u) << path;
    EXPECT_EQ(path.substr(path.size() - 13), "\\winapi_tests");
    EXPECT_EQ(GetFileAttributesA(path.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(ModuleFileName(GetModuleHandleA(nullptr)), path);
    EXPECT_EQ(GetModuleHandleA("WINAPI_TESTS.exe"), GetModuleHandleA(nullptr));

    winapi::hooks::SetExecutablePath("/opt/game/bin/quillerby");
    EXPECT_EQ(ModuleFileName(nullptr), "C:\\opt\\game\\bin\\quillerby");
    winapi::hooks::SetExecutablePath("");
    EXPECT_EQ(ModuleFileName(nullptr), path);
}

TEST(ModuleFileName, ACutPathIsTerminatedAndReportsTheBufferSize) {
    winapi::hooks::SetExecutablePath("/opt/game/bin/quillerby");
    char buffer[10] = {};
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, 10), 10u);
    EXPECT_STREQ(buffer, "C:\\opt\\ga");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, 0), 0u);
    winapi::hooks::SetExecutablePath("");
}

TEST(Libraries, TheShellLoadsByAnySpellingOfItsNameAndCountsLoads) {
    ASSERT_EQ(GetModuleHandleA("shell32.dll"), nullptr);
    const HMODULE first = LoadLibraryA("shell32.dll");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LoadLibraryA("C:\\Windows\\System32\\SHELL32"), first);
    EXPECT_EQ(GetModuleHandleA("Shell32.DLL"), first);
    EXPECT_EQ(ModuleFileName(first), "C:\\Windows\\System32\\shell32.dll");

    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(first, "ShellExecuteA")),
              reinterpret_cast<void*>(&ShellExecuteA));
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(first, "ShellExecuteW"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(GetProcAddress(first, reinterpret_cast<LPCSTR>(2)), nullptr) << "by ordinal";

    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(GetModuleHandleA("shell32"), first) << "still loaded once";
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(GetModuleHandleA("shell32"), nullptr);
    EXPECT_EQ(GetProcAddress(first, "ShellExecuteA"), nullptr);
    EXPECT_FALSE(FreeLibrary(first));
}

TEST(Libraries, OthersAreNotFound) {
    SetLastError(0);
    EXPECT_EQ(LoadLibraryA("d3dx9_29.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(LoadLibraryA("shell32.dll.bak"), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "ShellExecuteA"), nullptr);
}

} // namespace
