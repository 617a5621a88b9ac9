// The wizard's "..." buttons: the device's choosers against an emulated
// device, the workstation's over the test's folder.
#include <gtest/gtest.h>

#include <windows.h>

#include "BrowseDriver.h"
#include "FileWizardFixture.h"
#include "Resource.h"

namespace vorlan::filesync::testing {
namespace {

using namespace vorlan::testing;

constexpr int kFileList = 1001, kLookIn = 1017, kFolderTree = 1000, kFolderName = 1001;

class FileWizardBrowseTest : public FileWizardTest {
protected:
    void SetUp() override {
        FileWizardTest::SetUp();
        PutDeviceFile(L"\\My Documents\\notes\\a.txt", "a");
        PutDeviceFile(L"\\My Documents\\notes\\b.txt", "b");
    }

    // Presses the page's browse button, lets act drive the chooser titled
    // title, and answers the edit's text once the chooser has gone.
    static std::string Browse(HWND sheet, int button, int edit, const char* title,
                              const std::function<void(HWND)>& act) {
        HWND page = PageWindow(sheet);
        PostClick(page, button);
        HWND chooser = WaitForDialog(title);
        EXPECT_NE(chooser, nullptr) << title;
        if (chooser) {
            act(chooser);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindow(chooser); })) << title;
        }
        WaitUntil([&] { return IsWindowEnabled(sheet) != FALSE; });
        return PageItemText(sheet, edit);
    }
};

TEST_F(FileWizardBrowseTest, DeviceChoosersStartInTheTextsRealFolderAndAnswerSymbolicPaths) {
    const struct {
        const char* name;
        const char* fileAttributes;
        std::string origin, dest;
        int page, button, edit;
        const char* title;
        std::function<void(HWND)> act;
        std::string want;
    } cases[] = {
        {"a device file chosen", "QV_CREATE_FILE_FROM_CE", "%CE_MYDOCUMENTS%\\notes\\a.txt", "a.txt", 203,
         IDC_BROWSE_ORIGIN, IDC_ORIGIN, "Browse...",
         [](HWND chooser) {
             EXPECT_EQ(ItemText(chooser, kLookIn), "\\My Documents\\notes\\");
             HWND list = GetDlgItem(chooser, kFileList);
             ASSERT_TRUE(WaitUntil([&] { return FindRow(list, "b.txt") >= 0; }));
             SelectRow(list, FindRow(list, "b.txt"));
             DoubleClickRow(list, FindRow(list, "b.txt"));
         },
         "%CE_MYDOCUMENTS%\\notes\\b.txt"},
        {"a device file cancelled", "QV_CREATE_FILE_FROM_CE", "%CE_MYDOCUMENTS%\\notes\\a.txt", "a.txt", 203,
         IDC_BROWSE_ORIGIN, IDC_ORIGIN, "Browse...", [](HWND chooser) { PostClick(chooser, IDCANCEL); },
         "%CE_MYDOCUMENTS%\\notes\\a.txt"},
        {"a new device file starts in its folder", "QV_CREATE_FILE", "a.txt", "%CE_MYDOCUMENTS%\\notes\\new.txt", 204,
         IDC_BROWSE_DESTINATION, IDC_DESTINATION, "Browse...",
         [](HWND chooser) {
             EXPECT_EQ(ItemText(chooser, kLookIn), "\\My Documents\\notes\\");
             PostClick(chooser, IDCANCEL);
         },
         "%CE_MYDOCUMENTS%\\notes\\new.txt"},
        {"a device folder chosen", "QV_COPY_FOLDER_CONTENT_FROM_CE", "%CE_MYDOCUMENTS%\\notes", "copies", 206,
         IDC_BROWSE_ORIGIN, IDC_ORIGIN, "Choose a Folder...",
         [](HWND chooser) {
             HWND tree = GetDlgItem(chooser, kFolderTree);
             EXPECT_EQ(TreeText(tree, Selected(tree)), "notes");
             PostClick(chooser, IDOK);
         },
         "%CE_MYDOCUMENTS%\\notes"},
        {"another device folder typed", "QV_COPY_FOLDER_CONTENT", "docs", "%CE_MYDOCUMENTS%\\notes", 204,
         IDC_BROWSE_DESTINATION, IDC_DESTINATION, "Choose a Folder...",
         [](HWND chooser) {
             SetDlgItemTextA(chooser, kFolderName, "\\My Documents");
             PostClick(chooser, IDOK);
         },
         "%CE_MYDOCUMENTS%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto node = Node({c.origin, c.dest, c.fileAttributes, "", TableUrl()});
        std::string after;
        RunWizard(node.Get(), [&](HWND sheet) {
            while (ActivePage(sheet) != c.page && Press(sheet, PSBTN_NEXT)) {
            }
            ASSERT_EQ(ActivePage(sheet), c.page);
            after = Browse(sheet, c.button, c.edit, c.title, c.act);
        });
        EXPECT_EQ(after, c.want);
    }
}

TEST_F(FileWizardBrowseTest, WithoutADeviceTheTextStays) {
    auto node = Node({"%CE_MYDOCUMENTS%\\notes\\a.txt", "a.txt", "QV_CREATE_FILE_FROM_CE", "", TableUrl()});
    std::string after;
    ASSERT_TRUE(device->Disconnect());
    RunWizard(node.Get(), [&](HWND sheet) {
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        Click(PageWindow(sheet), IDC_BROWSE_ORIGIN);
        after = PageItemText(sheet, IDC_ORIGIN);
    });
    ASSERT_TRUE(device->Reconnect());
    EXPECT_EQ(after, "%CE_MYDOCUMENTS%\\notes\\a.txt");
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ(Boxes().back(), "Mirelda: Your device must be connected to browse the remote file system.");
}

// The text of the folder selected in a folder chooser's tree.
std::string SelectedFolderName(HWND chooser) {
    HWND tree = FindWindowExA(chooser, nullptr, "SysTreeView32", nullptr);
    const HTREEITEM item = Selected(tree);
    return item ? TreeText(tree, item) : "";
}

std::string Expanded(const std::string& text) {
    char expanded[MAX_PATH] = {};
    ExpandEnvironmentStringsA(text.c_str(), expanded, sizeof expanded);
    return expanded;
}

// Wine's folder chooser stops listing a folder when an entry goes while it
// reads them, as they do in the temporary folder while other test programs
// run: the table of this test lies in the quieter profile folder.
TEST_F(FileWizardBrowseTest, WorkstationChoosersStartInTheFolderOfTheTextBesideTheTable) {
    const TempFolder table(ProfileFolder());
    const std::string tableUrl = table / "files.xml";
    auto local = [&](const std::string& name) { return table / name; };
    ASSERT_TRUE(CreateDirectoryA(local("sub").c_str(), nullptr));
    WriteFileBytes(local("sub\\a.txt"), "a");
    WriteFileBytes(local("sub\\b.txt"), "b");
    // The file chooser opens in "sub": a bare name typed there is b.txt of it.
    auto node = Node({"sub\\a.txt", "\\a.txt", "QV_CREATE_FILE", "", tableUrl});
    std::string chosen, cancelled;
    RunWizard(node.Get(), [&](HWND sheet) {
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        cancelled = Browse(sheet, IDC_BROWSE_ORIGIN, IDC_ORIGIN, "Choose a file",
                           [](HWND chooser) { PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0); });
        chosen = Browse(sheet, IDC_BROWSE_ORIGIN, IDC_ORIGIN, "Choose a file", [](HWND chooser) {
            Sleep(200);  // the chooser fills itself first
            HWND name = GetDlgItem(chooser, 0x47C);
            if (!name) name = GetDlgItem(chooser, 0x480);
            SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("b.txt"));
            PostMessageA(chooser, WM_COMMAND, IDOK, 0);
        });
    });
    EXPECT_EQ(cancelled, "sub\\a.txt");
    EXPECT_EQ(Expanded(chosen), local("sub\\b.txt"));

    // The folder chooser selects the folder the text names.
    node = Node({"sub", "\\sub", "QV_COPY_FOLDER_CONTENT", "", tableUrl});
    RunWizard(node.Get(), [&](HWND sheet) {
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        ASSERT_EQ(ActivePage(sheet), 206);
        chosen = Browse(sheet, IDC_BROWSE_ORIGIN, IDC_ORIGIN, "Browse for Folder", [](HWND chooser) {
            // The chooser selects its start folder once its tree is filled.
            for (int i = 0; i < 200 && SelectedFolderName(chooser) != "sub"; ++i) Sleep(50);
            PostMessageA(chooser, WM_COMMAND, IDOK, 0);
        });
    });
    EXPECT_EQ(Expanded(chosen), local("sub"));
}

}  // namespace
}  // namespace vorlan::filesync::testing
