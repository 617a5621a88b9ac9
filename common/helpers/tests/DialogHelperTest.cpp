#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

#include "Dialog.h"
#include "DialogHelper.h"
#include "RegistryReaders.h"
#include "TestSupport.h"
#include "Text.h"

namespace vorlan {
namespace {

const char kSettingsKey[] = "SOFTWARE\\Dravenhall\\Common\\CommonDlgs";

using testing::WindowText;

// Sets or removes TranslatePath under HKEY_CURRENT_USER for one test.
class ScopedTranslatePath {
public:
    explicit ScopedTranslatePath(std::optional<DWORD> value) {
        if (value) {
            HKEY key;
            RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
            RegSetValueExA(key, "TranslatePath", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*value),
                           sizeof(DWORD));
            RegCloseKey(key);
        } else {
            Remove();
        }
    }
    ~ScopedTranslatePath() { Remove(); }

private:
    static void Remove() { RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "TranslatePath"); }
};

// Finds a dialog of this process titled title while the test's thread sits
// in a modal chooser, and acts on it; whatever happens, the chooser is
// closed before the deadline so the test never hangs.
class ChooserDriver {
public:
    ChooserDriver(std::string title, std::function<void(HWND)> act, DWORD settleMs = 200)
        : title_(std::move(title)), act_(std::move(act)), settle_(settleMs), thread_([this] { Run(); }) {}
    ~ChooserDriver() { thread_.join(); }
    bool Found() const { return found_; }

private:
    struct Search {
        const std::string* title;
        HWND found = nullptr;
    };
    static BOOL CALLBACK Match(HWND window, LPARAM data) {
        auto* search = reinterpret_cast<Search*>(data);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char className[16] = "";
        GetClassNameA(window, className, sizeof className);
        if (process == GetCurrentProcessId() && IsWindowVisible(window) && std::string(className) == "#32770" &&
            (search->title->empty() || WindowText(window) == *search->title)) {
            search->found = window;
            return FALSE;
        }
        return TRUE;
    }
    void Run() {
        for (int i = 0; i < 200; ++i) {
            Search search{&title_};
            EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                Sleep(settle_);  // let the chooser finish filling itself
                found_ = true;
                act_(search.found);
                return;
            }
            Sleep(50);
        }
        std::string any;
        Search search{&any};
        EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
        if (search.found) PostMessageA(search.found, WM_COMMAND, IDCANCEL, 0);
    }

    std::string title_;
    std::function<void(HWND)> act_;
    DWORD settle_;
    std::atomic<bool> found_ = false;
    std::thread thread_;
};

void TypeFileNameAndOpen(HWND dialog, const std::string& file) {
    // The name box is a combo box (0x47C) in the explorer-style dialog and
    // an edit (0x480) in the old one.
    HWND name = GetDlgItem(dialog, 0x47C);
    if (!name) name = GetDlgItem(dialog, 0x480);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

TEST(DialogHelperTest, ControlsOfTheOwner) {
    CDialog dialog(100);
    ASSERT_TRUE(dialog.Create());
    CDialogHelper helper(&dialog);
    HWND edit = dialog.GetDlgItem(1001), check = dialog.GetDlgItem(1002), button = dialog.GetDlgItem(1003);

    helper.SetItemText(1001, "C:\\Program Files");
    EXPECT_EQ(WindowText(edit), "C:\\Program Files");
    const int ids[] = {1001, 1002, 9999, 1003, 0};
    helper.EnableItems(ids, false);
    EXPECT_FALSE(IsWindowEnabled(edit));
    EXPECT_FALSE(IsWindowEnabled(button));
    helper.EnableItem(1003, true);
    EXPECT_TRUE(IsWindowEnabled(button));
    helper.ShowItems(ids, false);
    EXPECT_FALSE(GetWindowLongA(check, GWL_STYLE) & WS_VISIBLE);
    helper.ShowItem(1002, true);
    EXPECT_TRUE(GetWindowLongA(check, GWL_STYLE) & WS_VISIBLE);
    helper.CheckItems(ids, BST_CHECKED);
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    helper.CheckItem(1002, BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // Missing controls, a missing list and a helper without owner do nothing.
    helper.SetItemText(9999, "x");
    helper.EnableItems(nullptr, true);
    CDialogHelper orphan(nullptr);
    orphan.SetItemText(1001, "x");
    EXPECT_EQ(WindowText(edit), "C:\\Program Files");
}

TEST(DialogHelperTest, TranslatePathSetting) {
    {
        ScopedTranslatePath absent(std::nullopt);
        EXPECT_EQ(ReadTranslatePathSetting(), 1u) << "absent counts as 1";
    }
    {
        ScopedTranslatePath off(0);
        EXPECT_EQ(ReadTranslatePathSetting(), 0u);
        std::string inProfile = testing::ProfileFolder() + "\\Desktop\\x.txt";
        EXPECT_EQ(TranslateChosenPath(inProfile), inProfile);
    }
    ScopedTranslatePath on(1);
    EXPECT_EQ(TranslateChosenPath(testing::ProfileFolder() + "\\Desktop\\x.txt"), "%USERPROFILE%\\Desktop\\x.txt");
    EXPECT_EQ(TranslateChosenPath("Z:\\elsewhere\\x.txt"), "Z:\\elsewhere\\x.txt");
}

TEST(DialogHelperTest, BrowseForFile) {
    const testing::TempFolder chooserFolder(testing::ProfileFolder());
    const std::string& folder = chooserFolder.Path();
    std::string file = folder + "\\chosen.xml";
    testing::WriteFileBytes(file, "<PlugInsCfg/>");
    std::string relative = file.substr(testing::ProfileFolder().size());

    CDialogHelper helper(nullptr);
    std::string path = "stale";
    {
        ScopedTranslatePath absent(std::nullopt);
        ChooserDriver driver("Pick a project", [&](HWND d) { TypeFileNameAndOpen(d, file); });
        EXPECT_EQ(helper.BrowseForFile("Vorlan files (*.xml)|*.xml", "xml", "Pick a project", path, folder), 1);
        EXPECT_EQ(path, "%USERPROFILE%" + relative);
    }
    {
        ScopedTranslatePath off(0);
        ChooserDriver driver("Pick a project", [&](HWND d) { TypeFileNameAndOpen(d, file); });
        EXPECT_EQ(helper.BrowseForFile("Vorlan files (*.xml)|*.xml", "xml", "Pick a project", path, folder), 1);
        EXPECT_EQ(path, file);
    }
    {
        ChooserDriver driver("Pick a project", [](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); });
        EXPECT_EQ(helper.BrowseForFile("Vorlan files (*.xml)|*.xml", "xml", "Pick a project", path, folder), 0);
        EXPECT_TRUE(driver.Found());
        EXPECT_EQ(path, "") << "a cancelled file chooser leaves the path empty";
    }
}

TEST(DialogHelperTest, BrowseForFolderTakesTheInitialFolder) {
    OleInitialize(nullptr);
    char windows[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    const std::string folder = std::string(windows) + "\\system32";
    auto pressOk = [](HWND d) { PostMessageA(d, WM_COMMAND, IDOK, 0); };
    CDialogHelper helper(nullptr);
    std::string path = "before";
    {
        ScopedTranslatePath absent(std::nullopt);
        ChooserDriver driver("", pressOk, 1000);
        EXPECT_EQ(helper.BrowseForFolder(0, path, folder, "Destination folder"), 1);
        EXPECT_TRUE(EqualsNoCase(path, "%SystemRoot%\\system32")) << path;
    }
    {
        ScopedTranslatePath off(0);
        ChooserDriver driver("", pressOk, 1000);
        EXPECT_EQ(helper.BrowseForFolder(0, path, folder, "Destination folder"), 1);
        EXPECT_TRUE(EqualsNoCase(path, folder)) << path;
    }
    {
        const std::string chosen = path;
        ChooserDriver driver("", [](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); });
        EXPECT_EQ(helper.BrowseForFolder(CSIDL_PERSONAL, path, folder, "Destination folder"), 0);
        EXPECT_TRUE(driver.Found());
        EXPECT_EQ(path, chosen) << "a cancelled folder chooser leaves the path as it was";
    }
    OleUninitialize();
}

}  // namespace
}  // namespace vorlan
