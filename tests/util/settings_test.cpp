#include "util_test_support.h"

#include "util/settings.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using namespace testing_tree;

class Settings : public testing::Test {
protected:
    void SetUp() override { key = OpenKey(); }
    void TearDown() override { RegCloseKey(key); }

    static HKEY OpenKey() {
        HKEY opened = nullptr;
        EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Quillerby\\Tests", 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &opened,
                                  nullptr),
                  ERROR_SUCCESS);
        return opened;
    }

    void StoreRaw(const char* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
    }

    TempTree tree;
    PrivateRegistry registry{tree};
    HKEY key = nullptr;
};

const GUID kSample = {0x01234567, 0x89AB, 0xCDEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};

TEST_F(Settings, EveryTypeRoundTripsThroughTheStoreAcrossHandles) {
    EXPECT_EQ(SaveStringSetting(key, "Name", "Quillerby \xC3\xA9"), S_OK);
    EXPECT_EQ(SaveIntSetting(key, "Level", -42), S_OK);
    EXPECT_EQ(SaveBoolSetting(key, "Sound", TRUE), S_OK);
    EXPECT_EQ(SaveGuidSetting(key, "Device", kSample), S_OK);
    EXPECT_EQ(SaveFloatSetting(key, "Speed", 2.5f), S_OK);

    const HKEY again = OpenKey();
    char text[64];
    EXPECT_EQ(LoadStringSetting(again, "Name", text, sizeof text, "default"), S_OK);
    EXPECT_STREQ(text, "Quillerby \xC3\xA9");
    INT level = 0;
    EXPECT_EQ(LoadIntSetting(again, "Level", &level, 7), S_OK);
    EXPECT_EQ(level, -42);
    BOOL sound = FALSE;
    EXPECT_EQ(LoadBoolSetting(again, "Sound", &sound, FALSE), S_OK);
    EXPECT_EQ(sound, TRUE);
    GUID device{};
    EXPECT_EQ(LoadGuidSetting(again, "Device", &device, GUID{}), S_OK);
    EXPECT_EQ(device, kSample);
    float speed = 0.0f;
    EXPECT_EQ(LoadFloatSetting(again, "Speed", &speed, 1.0f), S_OK);
    EXPECT_EQ(speed, 2.5f);
    RegCloseKey(again);

    // The stored forms are the documented ones.
    DWORD type = 0;
    DWORD size = sizeof text;
    ASSERT_EQ(RegQueryValueExA(key, "Speed", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(text, "2.500000");
    size = sizeof text;
    ASSERT_EQ(RegQueryValueExA(key, "Name", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 13u) << "the terminator is stored";
    ASSERT_EQ(RegQueryValueExA(key, "Device", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(size, 16u);
}

TEST_F(Settings, FloatsKeepSixDecimals) {
    EXPECT_EQ(SaveFloatSetting(key, "Ratio", 0.1234567f), S_OK);
    char text[32];
    EXPECT_EQ(LoadStringSetting(key, "Ratio", text, sizeof text, ""), S_OK);
    EXPECT_STREQ(text, "0.123457");
    float ratio = 0.0f;
    EXPECT_EQ(LoadFloatSetting(key, "Ratio", &ratio, 0.0f), S_OK);
    EXPECT_EQ(ratio, 0.123457f);
}

TEST_F(Settings, MissingValuesGiveTheDefault) {
    char text[8];
    EXPECT_EQ(LoadStringSetting(key, "Missing", text, sizeof text, "fallback-too-long"), S_FALSE);
    EXPECT_STREQ(text, "fallbac") << "the default is cut to the capacity";
    INT number = 0;
    EXPECT_EQ(LoadIntSetting(key, "Missing", &number, 9), S_FALSE);
    EXPECT_EQ(number, 9);
    BOOL flag = FALSE;
    EXPECT_EQ(LoadBoolSetting(key, "Missing", &flag, TRUE), S_FALSE);
    EXPECT_EQ(flag, TRUE);
    GUID guid{};
    EXPECT_EQ(LoadGuidSetting(key, "Missing", &guid, kSample), S_FALSE);
    EXPECT_EQ(guid, kSample);
    float ratio = 0.0f;
    EXPECT_EQ(LoadFloatSetting(key, "Missing", &ratio, 0.1234567f), S_OK);
    EXPECT_EQ(ratio, 0.123457f) << "the default passes through six-decimal text";
}

TEST_F(Settings, ValuesOfAnotherTypeOrSizeGiveTheDefault) {
    const DWORD four = 4;
    const WORD two = 2;
    StoreRaw("Number", REG_DWORD, &four, sizeof four);
    StoreRaw("Short", REG_DWORD, &two, sizeof two);
    StoreRaw("Text", REG_SZ, "12", 3);
    StoreRaw("Words", REG_SZ, "fast", 5);
    StoreRaw("Partial", REG_BINARY, &kSample, 10);
    StoreRaw("TextGuid", REG_SZ, "0123456789abcdef", 16);

    char text[32];
    EXPECT_EQ(LoadStringSetting(key, "Number", text, sizeof text, "d"), S_FALSE);
    EXPECT_STREQ(text, "d");
    INT number = 0;
    EXPECT_EQ(LoadIntSetting(key, "Text", &number, -1), S_FALSE);
    EXPECT_EQ(number, -1);
    EXPECT_EQ(LoadIntSetting(key, "Short", &number, -2), S_FALSE);
    EXPECT_EQ(number, -2);
    float speed = 0.0f;
    EXPECT_EQ(LoadFloatSetting(key, "Words", &speed, 1.5f), S_FALSE);
    EXPECT_EQ(speed, 1.5f);
    EXPECT_EQ(LoadFloatSetting(key, "Number", &speed, 2.25f), S_OK) << "the default's text";
    EXPECT_EQ(speed, 2.25f);
    EXPECT_EQ(LoadFloatSetting(key, "Text", &speed, 2.5f), S_OK) << "a number stored as text";
    EXPECT_EQ(speed, 12.0f);
    GUID guid{};
    EXPECT_EQ(LoadGuidSetting(key, "Partial", &guid, GUID{}), S_FALSE);
    EXPECT_EQ(guid, GUID{});
    EXPECT_EQ(LoadGuidSetting(key, "TextGuid", &guid, kSample), S_FALSE);
    EXPECT_EQ(guid, kSample);
}

TEST_F(Settings, ATextLongerThanTheBufferGivesTheDefault) {
    EXPECT_EQ(SaveStringSetting(key, "Long", "0123456789"), S_OK);
    char text[10];
    EXPECT_EQ(LoadStringSetting(key, "Long", text, sizeof text, "short"), S_FALSE);
    EXPECT_STREQ(text, "short");
    char exact[11];
    EXPECT_EQ(LoadStringSettingBytes(key, "Long", exact, sizeof exact, "short"), S_OK);
    EXPECT_STREQ(exact, "0123456789");
    // A text stored without its terminator still reads back terminated.
    StoreRaw("Bare", REG_SZ, "abc", 3);
    std::memset(exact, 'z', sizeof exact);
    EXPECT_EQ(LoadStringSetting(key, "Bare", exact, sizeof exact, ""), S_OK);
    EXPECT_STREQ(exact, "abc");
}

TEST_F(Settings, BadArgumentsAndFailedWrites) {
    EXPECT_EQ(SaveStringSetting(key, "Name", nullptr), E_INVALIDARG);
    EXPECT_EQ(LoadFloatSetting(key, "Name", nullptr, 1.0f), E_INVALIDARG);
    EXPECT_EQ(LoadIntSetting(key, "Name", nullptr, 1), E_INVALIDARG);
    EXPECT_EQ(LoadStringSetting(key, "Name", nullptr, 4, ""), E_INVALIDARG);

    HKEY readOnly = nullptr;
    ASSERT_EQ(
        RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Quillerby\\Tests", 0, KEY_READ, &readOnly),
        ERROR_SUCCESS);
    EXPECT_EQ(SaveStringSetting(readOnly, "Name", "x"), E_FAIL);
    EXPECT_EQ(SaveFloatSetting(readOnly, "Speed", 1.0f), E_FAIL);
    EXPECT_EQ(SaveIntSetting(readOnly, "Level", 1), E_FAIL);
    EXPECT_EQ(SaveBoolSetting(readOnly, "Sound", TRUE), E_FAIL);
    EXPECT_EQ(SaveGuidSetting(readOnly, "Device", kSample), E_FAIL);
    RegCloseKey(readOnly);
    EXPECT_EQ(SaveIntSetting(nullptr, "Level", 1), E_FAIL);
}

} // namespace
