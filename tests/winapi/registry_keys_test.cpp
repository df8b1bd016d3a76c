#include "registry_fixture.h"
#include "winapi/hooks/registry.h"

namespace {

using RegistryKeys = RegistryTest;

TEST_F(RegistryKeys, CreateMakesEveryMissingKeyAndOpenFindsThemIgnoringCase) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX SDK", 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, DWORD{REG_CREATED_NEW_KEY});
    RegCloseKey(key);

    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\microsoft", 0, nullptr, 0, KEY_READ,
                              nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, DWORD{REG_OPENED_EXISTING_KEY});
    HKEY sub = nullptr;
    EXPECT_EQ(RegOpenKeyExA(key, "directx sdk\\", 0, KEY_READ, &sub), ERROR_SUCCESS)
        << "relative to an open key, one trailing backslash allowed";
    char name[32];
    EXPECT_EQ(RegEnumKeyA(key, 0, name, sizeof name), ERROR_SUCCESS);
    EXPECT_STREQ(name, "DirectX SDK") << "names keep the spelling they were created with";
    RegCloseKey(sub);
    RegCloseKey(key);
}

TEST_F(RegistryKeys, MissingKeysAndMalformedPathsAreReported) {
    RegCloseKey(Create(HKEY_CURRENT_USER, "Software\\Quillerby"));
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Other", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Quillerby", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND)
        << "each root has keys of its own";
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "\\Software", 0, KEY_READ, &key),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\\\Quillerby", 0, KEY_READ, &key),
              ERROR_BAD_PATHNAME);
    const std::string longName = "Software\\" + std::string(256, 'k');
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, longName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, nullptr),
              ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryKeys, InvalidAndClosedHandlesAreRefusedEverywhere) {
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Quillerby");
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    for (HKEY bad : {key, static_cast<HKEY>(nullptr), reinterpret_cast<HKEY>(0x80000005u)}) {
        HKEY out = nullptr;
        DWORD size = 0;
        char name[8];
        EXPECT_EQ(RegOpenKeyExA(bad, "x", 0, KEY_READ, &out), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegCreateKeyExA(bad, "x", 0, nullptr, 0, KEY_READ, nullptr, &out, nullptr),
                  ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegQueryValueExA(bad, "x", nullptr, nullptr, nullptr, &size),
                  ERROR_INVALID_HANDLE);
        EXPECT_EQ(SetDword(bad, "x", 1), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegDeleteValueA(bad, "x"), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegDeleteKeyA(bad, "x"), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegEnumKeyA(bad, 0, name, sizeof name), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegCloseKey(bad), ERROR_INVALID_HANDLE);
    }
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS) << "the roots close harmlessly";
}

TEST_F(RegistryKeys, HandlesAreCountedUntilClosed) {
    const auto before = winapi::hooks::OpenRegistryKeyCount();
    HKEY a = Create(HKEY_CURRENT_USER, "A");
    HKEY b = nullptr;
    ASSERT_EQ(RegOpenKeyExA(a, nullptr, 0, KEY_READ, &b), ERROR_SUCCESS);
    EXPECT_NE(a, b) << "opening \"\" gives a second handle to the same key";
    EXPECT_EQ(winapi::hooks::OpenRegistryKeyCount(), before + 2);
    RegCloseKey(a);
    RegCloseKey(b);
    EXPECT_EQ(winapi::hooks::OpenRegistryKeyCount(), before);
}

TEST_F(RegistryKeys, CreatingNeedsTheRightToCreateSubkeys) {
    RegCloseKey(Create(HKEY_CURRENT_USER, "Software\\Existing"));
    HKEY reader = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &reader), ERROR_SUCCESS);
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(reader, "New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(
        RegCreateKeyExA(reader, "Existing", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_SUCCESS)
        << "opening an existing key creates nothing";
    RegCloseKey(key);
    RegCloseKey(reader);
}

TEST_F(RegistryKeys, DeletedKeyLeavesItsHandlesDeadEvenIfRecreated) {
    HKEY old = Create(HKEY_CURRENT_USER, "Software\\Quillerby\\Scores");
    ASSERT_EQ(SetDword(old, "Best", 10), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Quillerby"), ERROR_ACCESS_DENIED)
        << "a key with subkeys stays";
    ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "software\\quillerby\\scores"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Quillerby\\Scores"),
              ERROR_FILE_NOT_FOUND);

    HKEY fresh = Create(HKEY_CURRENT_USER, "Software\\Quillerby\\Scores");
    LONG status = 0;
    Query(fresh, "Best", nullptr, &status);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND) << "the values went with the key";
    Query(old, "Best", nullptr, &status);
    EXPECT_EQ(status, ERROR_KEY_DELETED);
    EXPECT_EQ(SetDword(old, "Best", 11), ERROR_KEY_DELETED);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, ""), ERROR_ACCESS_DENIED) << "roots stay";
    EXPECT_EQ(RegDeleteKeyA(fresh, ""), ERROR_SUCCESS) << "\"\" deletes the key itself";
    RegCloseKey(fresh);
    RegCloseKey(old);
}

TEST_F(RegistryKeys, SubkeysAreListedInNameOrderWithoutGrandchildren) {
    for (const char* path : {"Root\\beta", "Root\\Alpha\\Deep", "Root\\gamma", "Rooted"}) {
        RegCloseKey(Create(HKEY_CURRENT_USER, path));
    }
    HKEY root = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Root", 0, KEY_READ, &root), ERROR_SUCCESS);
    std::vector<std::string> names;
    char name[16];
    for (DWORD i = 0; RegEnumKeyA(root, i, name, sizeof name) == ERROR_SUCCESS; ++i) {
        names.emplace_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(RegEnumKeyA(root, 0, name, 5), ERROR_MORE_DATA);
    EXPECT_EQ(RegEnumKeyA(root, 3, name, sizeof name), ERROR_NO_MORE_ITEMS);
    HKEY valuesOnly = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Root", 0, KEY_QUERY_VALUE, &valuesOnly),
              ERROR_SUCCESS);
    EXPECT_EQ(RegEnumKeyA(valuesOnly, 0, name, sizeof name), ERROR_ACCESS_DENIED);
    RegCloseKey(valuesOnly);
    RegCloseKey(root);
}

} // namespace
