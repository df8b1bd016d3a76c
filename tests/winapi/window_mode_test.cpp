// The choice between full screen and a window: read from the registry once at start, switched by
// Alt+Enter and by --windowed, and remembered under the current user's key for the program.

#include "registry_fixture.h"
#include "winapi/hooks/module.h"
#include "winapi/hooks/registry.h"
#include "winapi/hooks/window.h"
#include "winapi/profile.h"

#include <optional>
#include <sys/stat.h>

namespace {

using winapi::hooks::ResetWindowHooks;
using winapi::hooks::ShowsWindowed;
using winapi::hooks::SimulateDisplayModeSwitch;

class WindowMode : public RegistryTest {
protected:
    void SetUp() override {
        RegistryTest::SetUp();
        winapi::SelectProfile(winapi::Profile::Headless);
        winapi::hooks::SetExecutablePath("/opt/games/quillerby");
        ResetWindowHooks();
    }
    void TearDown() override {
        ResetWindowHooks();
        winapi::hooks::ResetModuleHooks();
        RegistryTest::TearDown();
    }

    // The program's key, named as the game names its own settings' key.
    static constexpr const char* kKey = "Software\\Quillerby\\Display";

    static std::optional<DWORD> Remembered() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        DWORD type = 0;
        const std::vector<BYTE> data = Query(key, "Windowed", &type);
        RegCloseKey(key);
        if (type != REG_DWORD || data.size() != sizeof(DWORD)) {
            return std::nullopt;
        }
        return *reinterpret_cast<const DWORD*>(data.data());
    }

    static void Remember(DWORD windowed) {
        HKEY key = Create(HKEY_CURRENT_USER, kKey);
        EXPECT_EQ(SetDword(key, "Windowed", windowed), ERROR_SUCCESS);
        RegCloseKey(key);
    }
};

TEST_F(WindowMode, StartsInTheRememberedModeReadOnceElseFullScreen) {
    EXPECT_FALSE(ShowsWindowed());
    EXPECT_EQ(Remembered(), std::nullopt) << "reading wrote nothing";

    Remember(1);
    ResetWindowHooks(); // the next run
    EXPECT_TRUE(ShowsWindowed());
    Remember(0);
    EXPECT_TRUE(ShowsWindowed()) << "read at start only";

    ResetWindowHooks();
    EXPECT_FALSE(ShowsWindowed());

    // A value of another type is no choice.
    HKEY key = Create(HKEY_CURRENT_USER, kKey);
    EXPECT_EQ(SetString(key, "Windowed", "1"), ERROR_SUCCESS);
    RegCloseKey(key);
    ResetWindowHooks();
    EXPECT_FALSE(ShowsWindowed());
}

TEST_F(WindowMode, EverySwitchFlipsTheModeAndIsRemembered) {
    SimulateDisplayModeSwitch();
    EXPECT_TRUE(ShowsWindowed());
    EXPECT_EQ(Remembered(), 1u);

    SimulateDisplayModeSwitch();
    EXPECT_FALSE(ShowsWindowed());
    EXPECT_EQ(Remembered(), 0u);

    SimulateDisplayModeSwitch();
    ResetWindowHooks();
    EXPECT_TRUE(ShowsWindowed()) << "the next run starts as the last one was left";
    EXPECT_EQ(winapi::hooks::OpenRegistryKeyCount(), 0u);
}

TEST_F(WindowMode, TheWindowedOptionWinsOverTheRememberedModeAndIsRemembered) {
    Remember(0);
    winapi::hooks::SimulateWindowedOption();
    EXPECT_TRUE(ShowsWindowed());
    EXPECT_EQ(Remembered(), 1u);
}

TEST_F(WindowMode, AStoreThatCannotBeWrittenStillSwitchesForThisRun) {
    // The store refuses a folder that others may write.
    ASSERT_EQ(chmod(folder_.c_str(), 0777), 0);
    SimulateDisplayModeSwitch();
    EXPECT_TRUE(ShowsWindowed());
    ASSERT_EQ(chmod(folder_.c_str(), 0700), 0);
    EXPECT_EQ(Remembered(), std::nullopt);
}

} // namespace
