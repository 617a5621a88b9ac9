// A row of a file table edited in the wizard through the editor's project
// document, saved, read again and run by the core onto an emulated device:
// the device gets what the wizard said.
#include <gtest/gtest.h>

#include "Bstr.h"
#include "CoreRun.h"
#include "BrowseDriver.h"
#include "CeRapi.h"
#include "HostSupport.h"
#include "Resource.h"
#include "VorlanPlugin.h"
#include "WizardSteps.h"

namespace vorlan::filesync::testing {
namespace {

using namespace vorlan::testing;
using editor::CVorlanPlugin;
using editor::testing::DialogDriver;
using editor::testing::ScopedPluginList;

class FileWizardProjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", "default");
        ASSERT_TRUE(run_.Device().InstallOstrum());
        SetDeviceText(L"SOFTWARE\\Apps\\Dravenhall Vorlan", L"InstallDir", L"\\Program Files\\Dravenhall\\Vorlan");
        // Where the device keeps its two-way records.
        SetDeviceText(L"SOFTWARE\\Dravenhall\\Vorlan", L"TwoWaySyncData",
                      L"\\Program Files\\Dravenhall\\Vorlan\\TwoWaySync.dat");
        // One row to edit: a table without rows is no file table yet.
        table_ = run_.Table("files.xml", "FileSync",
                            {{{"OriginUrl", ""}, {"Dest", ""}, {"FileAttributes", ""}, {"DownloadAttributes", ""}}});
        project_ = run_.Table("project.xml", "PlugInsCfg",
                              {CoreRun::Component("Feldane.Vorlan", table_, "Wizard files", "1.0", "0", "1")});
    }

    static void SetDeviceText(const wchar_t* keyPath, const wchar_t* name, const std::wstring& value) {
        RapiSession session;
        ASSERT_TRUE(session.Connected());
        HKEY key = nullptr;
        DWORD disposition = 0;
        ASSERT_EQ(CeRegCreateKeyEx(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, 0, nullptr, &key, &disposition),
                  ERROR_SUCCESS);
        EXPECT_EQ(CeRegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
        CeRegCloseKey(key);
    }

    // Edits the table's row in the wizard with steps, saves the table and
    // answers the row's FileAttributes as read back from the saved file.
    std::string EditAndSave(const std::function<void(HWND)>& steps) {
        CVorlanPlugin table;
        EXPECT_EQ(table.OpenTable("Wizard files", table_, CVorlanPlugin::kOpenUrl), S_OK);
        DialogDriver driver([&] {
            if (HWND sheet = WaitForDialog("File Management")) {
                steps(sheet);
                if (!WaitUntil([&] { return !IsWindow(sheet); }, 500)) Press(sheet, PSBTN_CANCEL);
            }
        });
        EXPECT_EQ(table.EditRow(0), S_OK);
        driver.Join();
        EXPECT_EQ(table.SaveXml(nullptr), S_OK);

        CVorlanPlugin again;
        EXPECT_EQ(again.OpenTable("Wizard files", table_, CVorlanPlugin::kOpenUrl), S_OK);
        std::string attributes;
        EXPECT_TRUE(again.GetCellValue(0, 2, attributes));
        return attributes;
    }

    std::string DeviceText(const std::wstring& path) {
        return ReadFileBytes(com::AnsiFromWide(run_.Device().HostPath(path)));
    }
    bool OnDevice(const std::wstring& path) {
        return GetFileAttributesW(run_.Device().HostPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    ComScope com_;
    CoreRun run_;
    ScopedPluginList list_;
    std::string table_, project_;
};

TEST_F(FileWizardProjectTest, AFolderCopyWithFiltersCopiesExactlyTheMatchingFiles) {
    const std::string content = run_.Folder() / "content";
    CreateDirectoryA(content.c_str(), nullptr);
    CreateDirectoryA((content + "\\sub").c_str(), nullptr);
    for (const char* name : {"a.txt", "B.TXT", "~draft.txt", "c.doc", "a.txt.bak", "sub\\d.txt"})
        WriteFileBytes(content + "\\" + name, name);

    const std::string attributes = EditAndSave([](HWND sheet) {
        Choose(sheet, 4);
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        Type(sheet, IDC_ORIGIN, "content");
        RemoveEveryRow(sheet, IDC_INCLUDE_LIST, IDC_INCLUDE_REMOVE);
        AddPattern(sheet, IDC_INCLUDE_EDIT, IDC_INCLUDE_ADD, "*.txt");
        AddPattern(sheet, IDC_EXCLUDE_EDIT, IDC_EXCLUDE_ADD, "~*");
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        Type(sheet, IDC_DESTINATION, "\\My Documents\\copied");
        Press(sheet, PSBTN_FINISH);
    });
    EXPECT_EQ(attributes, "QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER=*.txt | QV_EXCLUSION_FILTER=~*");

    EXPECT_EQ(run_.Sync(project_), S_OK);
    EXPECT_TRUE(run_.Events().empty()) << std::hex << run_.LastEventId();
    EXPECT_EQ(DeviceText(L"\\My Documents\\copied\\a.txt"), "a.txt");
    EXPECT_EQ(DeviceText(L"\\My Documents\\copied\\B.TXT"), "B.TXT");
    for (const wchar_t* left : {L"~draft.txt", L"c.doc", L"a.txt.bak", L"sub"})
        EXPECT_FALSE(OnDevice(std::wstring(L"\\My Documents\\copied\\") + left)) << com::AnsiFromWide(left);
}

TEST_F(FileWizardProjectTest, ATwoWayFolderWhereTheDeviceWinsSettlesAPairChangedOnBothSides) {
    const std::string pair = run_.Folder() / "pair";
    CreateDirectoryA(pair.c_str(), nullptr);
    WriteFileBytes(pair + "\\notes.txt", "first");

    const std::string attributes = EditAndSave([](HWND sheet) {
        Choose(sheet, 15);
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        Type(sheet, IDC_ORIGIN, "pair");
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        Type(sheet, IDC_DESTINATION, "\\My Documents\\pair");
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        ClickItem(sheet, IDC_CONFLICT_DEVICE);
        Press(sheet, PSBTN_FINISH);
    });
    EXPECT_EQ(attributes, "QV_TWO_WAY_FOLDER_SYNC | QV_CONFLICT_DEVICE_WINS | QV_INCLUSION_FILTER=*");

    EXPECT_EQ(run_.Sync(project_), S_OK);
    EXPECT_TRUE(run_.Events().empty()) << std::hex << run_.LastEventId();
    EXPECT_EQ(DeviceText(L"\\My Documents\\pair\\notes.txt"), "first");

    WriteFileBytes(pair + "\\notes.txt", "changed on the workstation");
    WriteFileBytes(com::AnsiFromWide(run_.Device().HostPath(L"\\My Documents\\pair\\notes.txt")),
                   "changed on the device");
    EXPECT_EQ(run_.Sync(project_), S_OK);
    EXPECT_TRUE(run_.Events().empty()) << std::hex << run_.LastEventId();
    EXPECT_EQ(ReadFileBytes(pair + "\\notes.txt"), "changed on the device");
    EXPECT_EQ(DeviceText(L"\\My Documents\\pair\\notes.txt"), "changed on the device");
}

}  // namespace
}  // namespace vorlan::filesync::testing
