// A project of program and shortcut items run by the core against an
// emulated device with Ostrum.
#include <gtest/gtest.h>

#include <algorithm>

#include "CoreRun.h"
#include "VorlanMessages.h"

namespace vorlan::testing {
namespace {

class CoreProjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(run_.Device().InstallOstrum());
        ASSERT_TRUE(run_.Device().Install(BuildPath(VORLAN_SLEEPER), L"\\Windows\\sleeper.exe"));
        DeleteFileW(run_.Device().HostPath(L"\\Windows\\sleeper.done").c_str());
    }
    std::string Project(const std::vector<std::pair<std::string, std::string>>& shortcut) {
        run_.Table("programs.xml", "ProcessSync",
                   {{{"Flag", "QV_CREATE_WAIT_PROCESS"}, {"ProcessIdentifier", "%CE_WINDIR%\\sleeper.exe"}},
                    {{"Flag", ""}, {"ProcessIdentifier", "\"\\Windows\\sleeper.exe\" -x"}}});
        run_.Table("shortcuts.xml", "ShortcutSync", {shortcut});
        return run_.Table("top.xml", "PlugInsCfg",
                          {CoreRun::Component("Wendric.Vorlan", "programs.xml", "Programs"),
                           CoreRun::Component("Quorran.Vorlan", "shortcuts.xml", "Shortcuts")});
    }
    std::string DeviceFile(const wchar_t* path) { return ReadFileBytes(Ansi(run_.Device().HostPath(path))); }
    static std::string Ansi(const std::wstring& w) { return std::string(w.begin(), w.end()); }

    ComScope com_;
    CoreRun run_;
};

TEST_F(CoreProjectTest, ProgramsStartAndTheShortcutIsMade) {
    const std::string top = Project({{"DisplayName", "Sleeper"}, {"Destination", "%CE_STARTMENU%"},
                                     {"Target", "\\Windows\\sleeper.exe"}});
    EXPECT_EQ(run_.Sync(top), S_OK);
    EXPECT_TRUE(run_.EventIds().empty()) << std::hex << run_.LastEventId();
    const auto started = run_.Device().Journal("process");
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].Get("application"), "\\Windows\\sleeper.exe");
    EXPECT_EQ(started[1].Get("commandLine"), "-x");
    EXPECT_EQ(started[1].Get("flags"), "16");
    EXPECT_NE(GetFileAttributesW(run_.Device().HostPath(L"\\Windows\\sleeper.done").c_str()),
              INVALID_FILE_ATTRIBUTES)
        << "the waited-for program ran to its end";
    EXPECT_EQ(DeviceFile(L"\\Windows\\Start Menu\\Sleeper.lnk"), "22#\"\\Windows\\sleeper.exe\"");
    EXPECT_EQ(run_.Index("shortcuts.xml", "Version"), "1.0");
}

TEST_F(CoreProjectTest, AShortcutTheDeviceRefusesIsReported) {
    const std::string top = Project({{"DisplayName", "Sleeper"}, {"Destination", "\\No Such Folder"},
                                     {"Target", "\\Windows\\sleeper.exe"}});
    run_.Sync(top);
    const auto ids = run_.EventIds();
    EXPECT_NE(std::find(ids.begin(), ids.end(), EVT_SHORTCUT_NOT_CREATED), ids.end());
    EXPECT_EQ(run_.Device().Journal("process").size(), 2u) << "the programs' component still ran";
}

}  // namespace
}  // namespace vorlan::testing
