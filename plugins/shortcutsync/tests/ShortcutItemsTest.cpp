// The shortcut engine against an emulated device, and through COM as the
// core and scripts use it.
#include <gtest/gtest.h>

#include "Bstr.h"
#include "CeRapi.h"
#include "ComPtr.h"
#include "PluginChecks.h"
#include "DevicePluginSuite.h"
#include "Shortcut.h"
#include "VorlanMessages.h"
#include "pindrel.h"
#include "quorran.h"

namespace vorlan::shortcutsync::testing {
namespace {

using com::Bstr;
using com::ComPtr;
using vorlan::testing::DevicePluginSuite;

ComPtr<IInfoNode> Item(const char* name, const char* destination, const char* target) {
    ComPtr<IInfoNode> node;
    EXPECT_EQ(com::CreateInstance(CLSID_InfoNode, node), S_OK);
    node->SetAt(Bstr::FromAnsi("DisplayName").Get(), Bstr::FromAnsi(name).Get());
    node->SetAt(Bstr::FromAnsi("Destination").Get(), Bstr::FromAnsi(destination).Get());
    node->SetAt(Bstr::FromAnsi("Target").Get(), Bstr::FromAnsi(target).Get());
    return node;
}

// A device file's bytes, "<missing>" when it cannot be read.
std::string DeviceFile(const wchar_t* path) {
    HANDLE h = CeCreateFile(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[1024];
    DWORD read = 0;
    CeReadFile(h, buffer, sizeof buffer, &read, nullptr);
    CeCloseHandle(h);
    return std::string(buffer, read);
}

class ShortcutItemsTest : public DevicePluginSuite {
protected:
    std::unique_ptr<CShortcut> Engine() {
        auto engine = std::make_unique<CShortcut>();
        UseSuiteSource(*engine);
        EXPECT_EQ(engine->Init(), S_OK);
        return engine;
    }
};

TEST_F(ShortcutItemsTest, ItemsMakeTheirLinkOrSayWhyNot) {
    vorlan::testing::RapiSession session;
    ASSERT_TRUE(session.Connected());
    const std::string longTarget = "%CE_WINDIR%\\" + std::string(260, 'x');
    const struct {
        const char* name;
        const char *displayName, *destination, *target;
        HRESULT result;
        uint32_t event;
        std::string insertion;
        const wchar_t* file;     // the link on the device, when one is made
        std::string content;
        const char* journaled;   // the path the device was asked for; null when not asked
    } cases[] = {
        {"the start menu", "Notes", "%CE_STARTMENU%", R"(\Windows\sleeper.exe)", S_OK, 0, "",
         L"\\Windows\\Start Menu\\Notes.lnk", "22#\"\\Windows\\sleeper.exe\"", R"(\Windows\Start Menu\Notes.lnk)"},
        {"a second run replaces it", "Notes", R"(\Windows\Start Menu\)", R"(%CE_WINDIR%\devwin.exe)", S_OK, 0, "",
         L"\\Windows\\Start Menu\\Notes.lnk", "21#\"\\Windows\\devwin.exe\"", R"(\Windows\Start Menu\Notes.lnk)"},
        {"a target with blanks", "My App", R"(\Windows)", R"(\Program Files\My App\a.exe)", S_OK, 0, "",
         L"\\Windows\\My App.lnk", "29#\"\\Program Files\\My App\\a.exe\"", R"(\Windows\My App.lnk)"},
        {"a missing folder", "Tool", R"(\No Such Folder)", R"(\Windows\tool.exe)", HRESULT_FROM_WIN32(3),
         EVT_SHORTCUT_NOT_CREATED, R"(\No Such Folder\Tool.lnk)", nullptr, "", R"(\No Such Folder\Tool.lnk)"},
        {"an unknown symbolic folder", "Tool", "%CE_NETWORK%", R"(\Windows\tool.exe)", E_FAIL,
         EVT_SHORTCUT_NOT_CREATED, R"(%CE_NETWORK%\Tool.lnk)", nullptr, "", nullptr},
        {"a folder that does not fit", "Tool", "%CE_WINDIR%", longTarget.c_str(), E_FAIL, EVT_SHORTCUT_NOT_CREATED,
         R"(%CE_WINDIR%\Tool.lnk)", nullptr, "", nullptr},
        {"no name", "", R"(\Windows)", R"(\Windows\tool.exe)", E_INVALIDARG, EVT_DOWNLOAD_BUSY, "DisplayName",
         nullptr, "", nullptr},
        {"no folder", "Tool", "", R"(\Windows\tool.exe)", E_INVALIDARG, EVT_DOWNLOAD_BUSY, "Destination", nullptr, "",
         nullptr},
        {"no target", "Tool", R"(\Windows)", "", E_INVALIDARG, EVT_DOWNLOAD_BUSY, "Target", nullptr, "", nullptr},
    };
    auto engine = Engine();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MarkEvents();
        const size_t journalBefore = device->Journal("shortcut").size();
        EXPECT_EQ(engine->PerformTransfer(Item(c.displayName, c.destination, c.target).Get()), c.result);
        ExpectOneEvent(c.event, c.insertion);
        if (c.file) {
            EXPECT_EQ(DeviceFile(c.file), c.content);
        }
        const auto journal = device->Journal("shortcut");
        if (c.journaled) {
            ASSERT_EQ(journal.size(), journalBefore + 1);
            EXPECT_EQ(journal.back().Get("path"), c.journaled);
        } else {
            EXPECT_EQ(journal.size(), journalBefore) << "nothing reaches the device";
        }
    }
    MarkEvents();
    EXPECT_EQ(engine->PerformTransfer(nullptr), E_INVALIDARG);
    ExpectOneEvent(EVT_ITEM_UNUSABLE);
}

TEST_F(ShortcutItemsTest, ScriptCallsRefuseEmptyArgumentsAndHoldOneSession) {
    CLSID clsid = {};
    ASSERT_EQ(CLSIDFromProgID(L"Quorran.QvShortcut", &clsid), S_OK);
    ComPtr<IQvShortcut> shortcut;
    ASSERT_EQ(com::CreateInstance(clsid, shortcut), S_OK);
    const size_t journalBefore = device->Journal("shortcut").size();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(shortcut->CreateShortcut(Bstr::FromAnsi(R"(\Windows\Again.lnk)").Get(),
                                           Bstr::FromAnsi("\"x\"").Get()),
                  S_OK);
    EXPECT_EQ(shortcut->CreateShortcut(Bstr::FromAnsi("").Get(), Bstr::FromAnsi("x").Get()), E_INVALIDARG);
    EXPECT_EQ(shortcut->CreateShortcut(Bstr::FromAnsi("p").Get(), Bstr::FromAnsi("").Get()), E_INVALIDARG);
    EXPECT_EQ(device->Journal("shortcut").size(), journalBefore + 3);
}

TEST_F(ShortcutItemsTest, DescribesItsTable) {
    vorlan::testing::ExpectDescribesTable(
        L"Quorran.VorlanProperties",
        {"Quorran.Vorlan", "ShortcutSync", "Shortcut Management",
         "Use this component to create shortcuts (file links) in your CE device.",
         {"DisplayName", "Destination", "Target"}});
    vorlan::testing::ExpectRegisteredUnderBothProgIds({
        {L"Quorran.Vorlan", {0x3B7367B5, 0x41A0, 0x46F6, {0xB1, 0x81, 0x75, 0xF2, 0x1B, 0x18, 0x5D, 0xFB}}},
        {L"Quorran.QvShortcut", {0x7DCD898D, 0x08B2, 0x4B3B, {0x9D, 0xD9, 0xD5, 0xC9, 0x36, 0x9D, 0x22, 0x6F}}},
        {L"Quorran.VorlanProperties", {0x197F67C4, 0x9C7D, 0x4DFB, {0xB1, 0xDB, 0x29, 0xF7, 0xD4, 0x10, 0x8C, 0x14}}},
    });
}

}  // namespace
}  // namespace vorlan::shortcutsync::testing
