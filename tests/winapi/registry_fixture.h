#pragma once
// Each registry test gets an empty store folder of its own, named by WINAPI_REGISTRY_DIR.

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

class RegistryTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (BaseFolder() / "registry-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        setenv("WINAPI_REGISTRY_DIR", folder_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("WINAPI_REGISTRY_DIR");
        std::filesystem::remove_all(folder_);
    }

    virtual std::filesystem::path BaseFolder() const {
        return std::filesystem::temp_directory_path();
    }

    static HKEY Create(HKEY root, const char* path, REGSAM access = KEY_ALL_ACCESS) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExA(root, path, 0, nullptr, 0, access, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        return key;
    }
    static LONG SetString(HKEY key, const char* name, const std::string& text) {
        return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1));
    }
    static LONG SetDword(HKEY key, const char* name, DWORD value) {
        return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                              sizeof value);
    }
    // The value's bytes, or an empty vector with the failure in status.
    static std::vector<BYTE> Query(HKEY key, const char* name, DWORD* type = nullptr,
                                   LONG* status = nullptr) {
        DWORD size = 0;
        LONG result = RegQueryValueExA(key, name, nullptr, type, nullptr, &size);
        std::vector<BYTE> data(size);
        if (result == ERROR_SUCCESS) {
            result = RegQueryValueExA(key, name, nullptr, type, data.data(), &size);
            data.resize(size);
        }
        if (status != nullptr) {
            *status = result;
        }
        return result == ERROR_SUCCESS ? data : std::vector<BYTE>();
    }
    // The text up to its terminator.
    static std::string QueryString(HKEY key, const char* name) {
        const auto data = Query(key, name);
        return std::string(data.begin(), std::find(data.begin(), data.end(), 0));
    }

    std::filesystem::path folder_;
};
