#include "registry_fixture.h"

#include <cstring>

namespace {

using RegistryValues = RegistryTest;

TEST_F(RegistryValues, EachTypeReadsBackWithItsTypeAndBytes) {
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Quillerby");
    const BYTE guid[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    ASSERT_EQ(SetString(key, "Name", "biker"), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, "Count", 0xDEADBEEF), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "Id", 0, REG_BINARY, guid, sizeof guid), ERROR_SUCCESS);

    DWORD type = 0;
    const auto name = Query(key, "Name", &type);
    EXPECT_EQ(type, DWORD{REG_SZ});
    EXPECT_EQ(name, (std::vector<BYTE>{'b', 'i', 'k', 'e', 'r', 0}));
    DWORD count = 0;
    DWORD size = sizeof count;
    EXPECT_EQ(
        RegQueryValueExA(key, "Count", nullptr, &type, reinterpret_cast<BYTE*>(&count), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD{REG_DWORD});
    EXPECT_EQ(count, 0xDEADBEEFu);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(Query(key, "Id", &type), std::vector<BYTE>(guid, guid + 16));
    EXPECT_EQ(type, DWORD{REG_BINARY});
    RegCloseKey(key);
}

TEST_F(RegistryValues, SizeQueriesAndShortBuffersReportTheNeededSize) {
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Quillerby");
    ASSERT_EQ(SetString(key, "Path", "C:\\media"), ERROR_SUCCESS);

    DWORD size = 0;
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Path", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 9u);
    EXPECT_EQ(type, DWORD{REG_SZ});

    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    size = 8;
    EXPECT_EQ(
        RegQueryValueExA(key, "Path", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
        ERROR_MORE_DATA);
    EXPECT_EQ(size, 9u);
    EXPECT_EQ(buffer[0], 'x') << "a short buffer is left alone";

    size = sizeof buffer;
    EXPECT_EQ(
        RegQueryValueExA(key, "Path", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(size, 9u);
    EXPECT_STREQ(buffer, "C:\\media");
    EXPECT_EQ(buffer[9], 'x') << "nothing written past the value";

    EXPECT_EQ(
        RegQueryValueExA(key, "Path", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), nullptr),
        ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExA(key, "Path", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS)
        << "asking only for the type";
    RegCloseKey(key);
}

TEST_F(RegistryValues, StringsAreStoredExactlyAsGiven) {
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Quillerby");
    ASSERT_EQ(RegSetValueExA(key, "Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "Empty", 0, REG_SZ, nullptr, 0), ERROR_SUCCESS);
    const BYTE inner[] = {'a', 0, 'b', 0};
    ASSERT_EQ(RegSetValueExA(key, "Inner", 0, REG_BINARY, inner, sizeof inner), ERROR_SUCCESS);

    EXPECT_EQ(Query(key, "Bare"), (std::vector<BYTE>{'a', 'b', 'c'}));
    LONG status = 0;
    EXPECT_TRUE(Query(key, "Empty", nullptr, &status).empty());
    EXPECT_EQ(status, ERROR_SUCCESS);
    EXPECT_EQ(Query(key, "Inner"), std::vector<BYTE>(inner, inner + 4));
    RegCloseKey(key);
}

TEST_F(RegistryValues, NamesIgnoreCaseAndNullOrEmptyIsTheDefaultValue) {
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Quillerby");
    ASSERT_EQ(SetString(key, "Speed", "fast"), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, "SPEED", "slow"), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(key, "speed"), "slow");

    ASSERT_EQ(SetString(key, nullptr, "default"), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(key, ""), "default");
    ASSERT_EQ(SetString(key, "", "changed"), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(key, nullptr), "changed");

    char name[32];
    DWORD chars = sizeof name;
    EXPECT_EQ(RegEnumValueA(key, 0, name, &chars, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_STREQ(name, "Speed") << "the first spelling is kept";
    EXPECT_EQ(RegEnumValueA(key, 2, name, &chars, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST_F(RegistryValues, OverwriteChangesTypeAndDeleteRemoves) {
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Quillerby");
    ASSERT_EQ(SetString(key, "Level", "one"), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, "Level", 1), ERROR_SUCCESS);
    DWORD type = 0;
    EXPECT_EQ(Query(key, "Level", &type).size(), 4u);
    EXPECT_EQ(type, DWORD{REG_DWORD});

    EXPECT_EQ(RegDeleteValueA(key, "LEVEL"), ERROR_SUCCESS);
    LONG status = 0;
    Query(key, "Level", nullptr, &status);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueA(key, "Level"), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST_F(RegistryValues, EnumerationListsNamesTypesAndDataInOrderOfCreation) {
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Quillerby");
    ASSERT_EQ(SetString(key, "Zeta", "z"), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, "Alpha", 7), ERROR_SUCCESS);

    char name[8];
    DWORD chars = sizeof name;
    DWORD type = 0;
    BYTE data[8];
    DWORD size = sizeof data;
    ASSERT_EQ(RegEnumValueA(key, 0, name, &chars, nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_STREQ(name, "Zeta");
    EXPECT_EQ(chars, 4u) << "the length without the terminator";
    EXPECT_EQ(type, DWORD{REG_SZ});
    EXPECT_EQ(size, 2u);

    chars = 6;
    size = 2;
    EXPECT_EQ(RegEnumValueA(key, 1, name, &chars, nullptr, &type, data, &size), ERROR_MORE_DATA)
        << "data longer than offered";
    EXPECT_EQ(size, 4u);
    chars = 6;
    EXPECT_EQ(RegEnumValueA(key, 1, name, &chars, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_STREQ(name, "Alpha");
    chars = 5;
    EXPECT_EQ(RegEnumValueA(key, 0, name, &chars, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    chars = 4;
    EXPECT_EQ(RegEnumValueA(key, 0, name, &chars, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA)
        << "no room for the terminator";
    RegCloseKey(key);
}

TEST_F(RegistryValues, ReadOnlyAndWriteOnlyHandlesAreHeldToTheirAccess) {
    RegCloseKey(Create(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX SDK"));
    HKEY reader = nullptr;
    ASSERT_EQ(
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX SDK", 0, KEY_READ, &reader),
        ERROR_SUCCESS);
    EXPECT_EQ(SetString(reader, "DX9D4SDK Samples Path", "/sdk"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueA(reader, "DX9D4SDK Samples Path"), ERROR_ACCESS_DENIED);

    HKEY writer = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX SDK", 0,
                            KEY_SET_VALUE, &writer),
              ERROR_SUCCESS);
    EXPECT_EQ(SetString(writer, "DX9D4SDK Samples Path", "/sdk"), ERROR_SUCCESS);
    LONG status = 0;
    Query(writer, "DX9D4SDK Samples Path", nullptr, &status);
    EXPECT_EQ(status, ERROR_ACCESS_DENIED);
    EXPECT_EQ(QueryString(reader, "DX9D4SDK Samples Path"), "/sdk");
    RegCloseKey(reader);
    RegCloseKey(writer);
}

TEST_F(RegistryValues, BadArgumentsAreRefusedWithoutWriting) {
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Quillerby");
    EXPECT_EQ(RegSetValueExA(key, "Missing", 0, REG_BINARY, nullptr, 4), ERROR_NOACCESS);
    const std::string longName(16384, 'n');
    EXPECT_EQ(SetDword(key, longName.c_str(), 1), ERROR_INVALID_PARAMETER);
    DWORD reserved = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "x", &reserved, nullptr, nullptr, &size),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegEnumValueA(key, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    LONG status = 0;
    Query(key, "Missing", nullptr, &status);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

} // namespace
