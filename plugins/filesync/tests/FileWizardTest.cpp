// The file item wizard through IVorlanProperties::ConfigNodeDlg, as the
// editor opens it, driven page by page with messages.
#include <gtest/gtest.h>

#include <map>

#include "BrowseDriver.h"
#include "FileItem.h"
#include "FileWizardFixture.h"
#include "pindrel.h"
#include "Resource.h"
#include "WindowCapture.h"

namespace vorlan::filesync::testing {
namespace {

using vorlan::testing::WaitUntil;

constexpr int kOperation = 107, kOrigin = 203, kDestination = 204, kFolder = 206, kOptions = 205;

const char* Keyword(int index) {
    static const uint32_t codes[] = {1, 2, 3, 4, 9, 13, 11, 5, 6, 7, 8, 10, 14, 12, 15, 16};
    return OperationKeyword(codes[index]);
}

TEST_F(FileWizardTest, NoItemIsRefusedWithoutAWindow) {
    CLSID clsid = {};
    ASSERT_EQ(CLSIDFromProgID(L"Feldane.VorlanProperties", &clsid), S_OK);
    com::ComPtr<IVorlanProperties> properties;
    ASSERT_EQ(com::CreateInstance(clsid, properties), S_OK);
    EXPECT_EQ(properties->ConfigNodeDlg(nullptr, VARIANT_TRUE), E_POINTER);
    IInfoNode* none = nullptr;
    EXPECT_EQ(properties->ConfigNodeDlg(&none, VARIANT_TRUE), E_POINTER);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(vorlan::testing::WaitForDialog("File Management", 0), nullptr) << "no sheet of this program";
}

TEST_F(FileWizardTest, AnItemWithoutKeysOpensAsANewFileCopy) {
    com::ComPtr<IInfoNode> node;
    ASSERT_EQ(com::CreateInstance(CLSID_InfoNode, node), S_OK);
    int choice = -1;
    std::string origin = "unread", label;
    const HRESULT hr = RunWizard(node.Get(), [&](HWND sheet) {
        choice = static_cast<int>(SendDlgItemMessageA(PageWindow(sheet), IDC_OPERATION, CB_GETCURSEL, 0, 0));
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        origin = PageItemText(sheet, IDC_ORIGIN);
        label = PageItemText(sheet, IDC_ORIGIN_LABEL);
    });
    EXPECT_EQ(hr, 1223);
    EXPECT_EQ(choice, 0);
    EXPECT_EQ(origin, "");
    EXPECT_EQ(label, "Enter the orign URL or file path (relative paths Ok):");
    EXPECT_EQ(Stored(node.Get()), WizardItem{});
}

// What each choice shows, page by page: the pages Next visits, each page's
// label, whether its option groups show, and its buttons.
TEST_F(FileWizardTest, PageFlowOfEveryChoice) {
    const DWORD kBackNext = PSWIZB_BACK | PSWIZB_NEXT, kBackFinish = PSWIZB_BACK | PSWIZB_FINISH;
    const char* const kUrlLabel = "Enter the orign URL or file path (relative paths Ok):";
    const char* const kFolderLabel = "Enter the origin folder (relative paths Ok):";
    const struct Row {
        std::vector<int> pages;
        const char* originLabel;  // of the origin or folder page
        const char* destinationLabel;
        bool downloadOptions, attributes;
        const char* origin;
        const char* dest;
    } rows[16] = {
        {{kOperation, kOrigin, kDestination}, kUrlLabel, "Enter file to be created:", true, true,
         "http://example.org/a.txt", "\\My Documents\\a.txt"},
        {{kOperation, kDestination}, nullptr, "Enter file to be deleted:", false, false, "", "\\My Documents\\a.txt"},
        {{kOperation, kDestination}, nullptr, "Enter folder to be created:", false, false, "", "\\My Documents\\new"},
        {{kOperation, kDestination}, nullptr, "Enter folder to be deleted:", false, false, "", "\\My Documents\\old"},
        {{kOperation, kFolder, kDestination}, kFolderLabel, "Enter folder to be created:", false, true, "docs",
         "\\My Documents\\docs"},
        {{kOperation, kFolder, kDestination}, "Enter the origin folder:", "Enter the destination folder:", false,
         true, "\\My Documents", "copies"},
        {{kOperation, kOrigin, kDestination}, "Enter the origin file (relative paths Ok):",
         "Enter file to be created:", false, true, "\\My Documents\\a.txt", "a.txt"},
        {{kOperation, kOrigin, kDestination}, kUrlLabel, "Enter file to be created:", true, true,
         "ftp://example.org/a.txt", "a.txt"},
        {{kOperation, kDestination}, nullptr, "Enter file to be deleted:", false, false, "", "a.txt"},
        {{kOperation, kDestination}, nullptr, "Enter folder to be created:", false, false, "", "new"},
        {{kOperation, kDestination}, nullptr, "Enter folder to be deleted:", false, false, "", "old"},
        {{kOperation, kFolder, kDestination}, kFolderLabel, "Enter the destination folder:", false, true, "docs",
         "copies"},
        {{kOperation, kFolder, kDestination}, "Enter the origin folder:", "Enter the destination folder:", false,
         true, "\\My Documents", "\\Temp\\copies"},
        {{kOperation, kOrigin, kDestination}, "Enter the origin file (relative paths Ok):",
         "Enter file to be created:", false, true, "\\My Documents\\a.txt", "\\Temp\\a.txt"},
        {{kOperation, kOrigin, kDestination, kOptions},
         "Enter the workstation file name and path (relative paths Ok):", "Enter device file name and path:", false,
         true, "a.txt", "\\My Documents\\a.txt"},
        {{kOperation, kFolder, kDestination, kOptions}, "Enter the workstation folder path (relative paths Ok):",
         "Enter device folder path:", false, true, "docs", "\\My Documents\\docs"},
    };
    // The description follows the choice.
    const std::map<int, std::string> kDescriptions = {
        {1, "Removes a file from the CE device."},
        {8, "Moves a files from the workstation to the recycle bin."},
        {14, "Maintains a two-way file synchronization between a file in the CE device and the local workstation."},
    };
    for (int index = 0; index < 16; ++index) {
        SCOPED_TRACE(index);
        const Row& row = rows[index];
        // Opened as a new item: the user picks the operation and types.
        auto node = Node({"", "", "", "", TableUrl()});
        std::vector<int> forward, back;
        std::vector<DWORD> buttons;
        const HRESULT hr = RunWizard(node.Get(), [&](HWND sheet) {
            Choose(sheet, index);
            const std::string description = PageItemText(sheet, IDC_OPERATION_DESCRIPTION);
            if (const auto known = kDescriptions.find(index); known != kDescriptions.end()) {
                EXPECT_EQ(description, known->second);
            } else {
                EXPECT_FALSE(description.empty());
            }
            for (;;) {
                const int page = ActivePage(sheet);
                forward.push_back(page);
                buttons.push_back(Buttons(sheet));
                if (page == kOrigin || page == kFolder) {
                    EXPECT_EQ(PageItemText(sheet, IDC_ORIGIN_LABEL), row.originLabel);
                    Type(sheet, IDC_ORIGIN, row.origin);
                }
                if (page == kOrigin) {
                    EXPECT_EQ(ItemShown(sheet, IDC_SECURE), row.downloadOptions);
                }
                if (page == kDestination) {
                    EXPECT_EQ(PageItemText(sheet, IDC_DESTINATION_LABEL), row.destinationLabel);
                    EXPECT_EQ(ItemShown(sheet, IDC_PRESERVE), row.attributes);
                    EXPECT_EQ(ItemShown(sheet, IDC_ATTRIBUTES_LABEL), row.attributes);
                    Type(sheet, IDC_DESTINATION, row.dest);
                }
                if (!(Buttons(sheet) & PSWIZB_NEXT) || forward.size() > 5) break;
                ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
            }
            // Back retraces the way, then Next follows it again to Finish.
            while (Buttons(sheet) & PSWIZB_BACK) {
                ASSERT_TRUE(Press(sheet, PSBTN_BACK));
                back.push_back(ActivePage(sheet));
                if (back.size() > 5) break;
            }
            while ((Buttons(sheet) & PSWIZB_NEXT) && ActivePage(sheet) != forward.back())
                ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
            EXPECT_EQ(ActivePage(sheet), forward.back());
            EXPECT_TRUE(Press(sheet, PSBTN_FINISH)) << Buttons(sheet);
        });
        EXPECT_EQ(hr, S_OK) << ::testing::PrintToString(Boxes());
        EXPECT_EQ(forward, row.pages);
        std::vector<int> wantBack(row.pages.rbegin() + 1, row.pages.rend());
        EXPECT_EQ(back, wantBack);
        std::vector<DWORD> wantButtons;
        for (int page : row.pages)
            wantButtons.push_back(page == kOperation                           ? PSWIZB_NEXT
                                  : page == kOptions                           ? kBackFinish
                                  : page == kDestination && row.pages.size() < 4 ? kBackFinish
                                                                                 : kBackNext);
        EXPECT_EQ(buttons, wantButtons);

        const WizardItem stored = Stored(node.Get());
        EXPECT_EQ(ParseTransferAttributes(stored.fileAttributes, stored.downloadAttributes).operation,
                  ParseTransferAttributes(Keyword(index), "").operation)
            << stored.fileAttributes;
        EXPECT_EQ(stored.originUrl, row.origin);
        EXPECT_EQ(stored.dest, row.dest);
        EXPECT_EQ(stored.tableUrl, TableUrl());
    }
}

TEST_F(FileWizardTest, DownloadOptionsFollowTheOriginsKind) {
    const struct {
        const char* origin;
        bool general, ftp, http;
        bool secure, passive;  // after both were checked
    } cases[] = {
        {"ftp://example.org/a.txt", true, true, false, false, true},
        {"http://example.org/a.txt", true, false, true, false, false},
        {"https://example.org/a.txt", true, false, true, true, false},
        {"C:\\data\\a.txt", false, false, false, false, false},
        {"a.txt", false, false, false, false, false},  // a file beside the table
        {"mailto:someone@example.org", true, true, true, true, true},
    };
    for (int index : {0, 7}) {
        auto node = Node({"", "", Keyword(index), "", TableUrl()});
        RunWizard(node.Get(), [&](HWND sheet) {
            ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
            ASSERT_EQ(ActivePage(sheet), kOrigin);
            for (const auto& c : cases) {
                SCOPED_TRACE(c.origin);
                Type(sheet, IDC_ORIGIN, "mailto:someone@example.org");
                for (int id : {IDC_SECURE, IDC_PASSIVE})
                    if (!ItemChecked(sheet, id)) ClickItem(sheet, id);
                Type(sheet, IDC_ORIGIN, c.origin);
                for (int id : {IDC_BINARY, IDC_ASCII, IDC_DONT_CACHE, IDC_IGNORE_CACHE})
                    EXPECT_EQ(ItemEnabled(sheet, id), c.general) << id;
                for (int id : {IDC_PASSIVE, IDC_REUSE_CONNECTION}) EXPECT_EQ(ItemEnabled(sheet, id), c.ftp) << id;
                EXPECT_EQ(ItemEnabled(sheet, IDC_SECURE), c.http);
                EXPECT_EQ(ItemChecked(sheet, IDC_SECURE), c.secure);
                EXPECT_EQ(ItemChecked(sheet, IDC_PASSIVE), c.passive);
            }
        });
    }
}

TEST_F(FileWizardTest, AttributeBoxesOnlyWhilePreserveIsUnchecked) {
    const int boxes[] = {IDC_NORMAL, IDC_HIDDEN, IDC_READONLY, IDC_ARCHIVE, IDC_SYSTEM, IDC_TEMPORARY};
    auto node = Node({"a.txt", "\\a.txt", "QV_CREATE_FILE", "", TableUrl()});
    bool reached = false;
    const HRESULT hr = RunWizard(node.Get(), [&](HWND sheet) {
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        ASSERT_EQ(ActivePage(sheet), kDestination);
        reached = true;
        // A file beside the table keeps its attributes unless told.
        EXPECT_TRUE(ItemEnabled(sheet, IDC_PRESERVE));
        EXPECT_TRUE(ItemChecked(sheet, IDC_PRESERVE));
        for (int id : boxes) EXPECT_FALSE(ItemEnabled(sheet, id)) << id;
        ClickItem(sheet, IDC_PRESERVE);
        for (int id : boxes) EXPECT_TRUE(ItemEnabled(sheet, id)) << id;
        ClickItem(sheet, IDC_HIDDEN);
        ClickItem(sheet, IDC_READONLY);
        ClickItem(sheet, IDC_PRESERVE);
        for (int id : boxes) EXPECT_FALSE(ItemEnabled(sheet, id)) << id;
        ClickItem(sheet, IDC_PRESERVE);
        EXPECT_TRUE(Press(sheet, PSBTN_FINISH)) << Buttons(sheet);
    });
    EXPECT_TRUE(reached);
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(Stored(node.Get()).fileAttributes, "QV_CREATE_FILE | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN");

    // A download keeps nothing: "Preserve" is off and cannot be chosen.
    node = Node({"http://example.org/a.txt", "\\a.txt", "QV_CREATE_FILE | QV_NEVER_DELETE_FILES_AND_FOLDERS", "",
                 TableUrl()});
    RunWizard(node.Get(), [&](HWND sheet) {
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        ASSERT_EQ(ActivePage(sheet), kDestination);
        EXPECT_FALSE(ItemEnabled(sheet, IDC_PRESERVE));
        EXPECT_FALSE(ItemChecked(sheet, IDC_PRESERVE));
        for (int id : boxes) EXPECT_TRUE(ItemEnabled(sheet, id)) << id;
    });
}

// Bad input keeps the page, says why, and writes nothing: Cancel leaves
// every key as it was.
TEST_F(FileWizardTest, BadInputKeepsThePageAndCancelKeepsTheItem) {
    const struct {
        const char* name;
        WizardItem item;
        int page;  // reached with Next from the first
        int field;
        const char* typed;
        int press;  // a wizard button, or an Add button of the page
        const char* box;
    } cases[] = {
        {"empty origin", {"", "\\a.txt", "QV_CREATE_FILE", "", ""}, kOrigin, IDC_ORIGIN, "", PSBTN_NEXT,
         "The path specified is malformed."},
        {"relative origin without a table", {"a.txt", "\\a.txt", "QV_CREATE_FILE", "", ""}, kOrigin, 0, nullptr,
         PSBTN_NEXT, "The path specified is malformed."},
        {"desktop path as a device origin", {"", "a.txt", "QV_CREATE_FILE_FROM_CE", "", ""}, kOrigin, IDC_ORIGIN,
         "C:\\a.txt", PSBTN_NEXT, "The path specified is malformed."},
        {"desktop path as a device destination", {"", "", "QV_DELETE_FILE", "", ""}, kDestination, IDC_DESTINATION,
         "C:\\a.txt", PSBTN_FINISH, "The path specified is malformed."},
        {"URL as a workstation destination", {"a.txt", "", "QV_LOCAL_CREATE_FILE", "", ""}, kDestination,
         IDC_DESTINATION, "http://example.org/b.txt", PSBTN_FINISH, "The path specified is malformed."},
        {"empty two-way destination", {"a.txt", "", "QV_TWO_WAY_FILE_SYNC", "", ""}, kDestination, IDC_DESTINATION,
         "", PSBTN_NEXT, "The path specified is malformed."},
        {"web folder", {"docs", "\\docs", "QV_COPY_FOLDER_CONTENT", "", ""}, kFolder, IDC_ORIGIN,
         "http://example.org/docs", PSBTN_NEXT, "The path specified is malformed."},
        {"empty include list", {"docs", "\\docs", "QV_COPY_FOLDER_CONTENT", "", ""}, kFolder, IDC_INCLUDE_REMOVE,
         nullptr, PSBTN_NEXT, "You must have at least one item in the include list."},
        {"a pattern again in another case",
         {"docs", "\\docs", "QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER=*.txt", "", ""}, kFolder,
         IDC_INCLUDE_EDIT, "*.TXT", IDC_INCLUDE_ADD, "This item is already inside the list."},
        {"a pattern with a colon", {"docs", "\\docs", "QV_COPY_FOLDER_CONTENT", "", ""}, kFolder, IDC_EXCLUDE_EDIT,
         "*.bak:*.tmp", IDC_EXCLUDE_ADD, "Filters cannot contain ':' or '|'."},
        {"a pattern with a bar", {"docs", "\\docs", "QV_COPY_FOLDER_CONTENT", "", ""}, kFolder, IDC_INCLUDE_EDIT,
         "a|b", IDC_INCLUDE_ADD, "Filters cannot contain ':' or '|'."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WizardItem item = c.item;
        if (std::string(c.name) != "relative origin without a table") item.tableUrl = TableUrl();
        auto node = Node(item);
        std::vector<std::string> rowsBefore, rowsAfter;
        size_t boxesBefore = 0;
        std::vector<std::string> boxes;
        bool stayed = false;
        const HRESULT hr = RunWizard(node.Get(), [&](HWND sheet) {
            while (ActivePage(sheet) != c.page && Press(sheet, PSBTN_NEXT)) {
            }
            ASSERT_EQ(ActivePage(sheet), c.page);
            HWND list = GetDlgItem(PageWindow(sheet), c.field == IDC_EXCLUDE_EDIT ? IDC_EXCLUDE_LIST : IDC_INCLUDE_LIST);
            if (c.field == IDC_INCLUDE_REMOVE) {
                RemoveEveryRow(sheet, IDC_INCLUDE_LIST, IDC_INCLUDE_REMOVE);
            } else if (c.typed) {
                Type(sheet, c.field, c.typed);
            }
            rowsBefore = vorlan::testing::Column(list, 0);
            boxesBefore = Boxes().size();
            if (c.press == IDC_INCLUDE_ADD || c.press == IDC_EXCLUDE_ADD)
                ClickItem(sheet, c.press);
            else
                Press(sheet, c.press);
            stayed = IsWindow(sheet) && ActivePage(sheet) == c.page;
            boxes = Boxes();
            rowsAfter = vorlan::testing::Column(list, 0);
            // Whatever the user does next, Cancel keeps the item.
            if (c.page != kDestination) Type(sheet, IDC_ORIGIN, "C:\\elsewhere");
        });
        EXPECT_TRUE(stayed);
        ASSERT_EQ(boxes.size(), boxesBefore + 1);
        EXPECT_EQ(boxes.back(), std::string("Feldane: ") + c.box);
        EXPECT_EQ(rowsAfter, rowsBefore);
        EXPECT_EQ(hr, 1223);
        EXPECT_EQ(Stored(node.Get()), item);
    }
}

TEST_F(FileWizardTest, FilterListsAddAndRemovePatterns) {
    auto node = Node({"docs", "\\docs", "QV_COPY_FOLDER_CONTENT | QV_EXCLUSION_FILTER=~*", "", TableUrl()});
    const HRESULT hr = RunWizard(node.Get(), [&](HWND sheet) {
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        ASSERT_EQ(ActivePage(sheet), kFolder);
        HWND include = GetDlgItem(PageWindow(sheet), IDC_INCLUDE_LIST);
        EXPECT_EQ(vorlan::testing::Column(include, 0), std::vector<std::string>{"*"});
        EXPECT_FALSE(ItemEnabled(sheet, IDC_INCLUDE_ADD));
        Type(sheet, IDC_INCLUDE_EDIT, "  *.txt ");
        EXPECT_TRUE(ItemEnabled(sheet, IDC_INCLUDE_ADD));
        ClickItem(sheet, IDC_INCLUDE_ADD);
        EXPECT_EQ(PageItemText(sheet, IDC_INCLUDE_EDIT), "");
        EXPECT_FALSE(ItemEnabled(sheet, IDC_INCLUDE_ADD));
        Type(sheet, IDC_INCLUDE_EDIT, "Read Me*");
        ClickItem(sheet, IDC_INCLUDE_ADD);
        // A blank pattern is not added.
        Type(sheet, IDC_INCLUDE_EDIT, "   ");
        EXPECT_TRUE(ItemEnabled(sheet, IDC_INCLUDE_ADD));
        ClickItem(sheet, IDC_INCLUDE_ADD);
        EXPECT_EQ(vorlan::testing::Column(include, 0), (std::vector<std::string>{"*", "*.txt", "Read Me*"}));
        vorlan::testing::SelectRow(include, 0);
        ClickItem(sheet, IDC_INCLUDE_REMOVE);
        EXPECT_EQ(vorlan::testing::Column(include, 0), (std::vector<std::string>{"*.txt", "Read Me*"}));
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        EXPECT_TRUE(Press(sheet, PSBTN_FINISH)) << Buttons(sheet);
    });
    EXPECT_EQ(hr, S_OK);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Stored(node.Get()).fileAttributes,
              "QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER=*.txt:Read Me* | QV_EXCLUSION_FILTER=~*");
}

TEST_F(FileWizardTest, AnItemFinishedUnchangedKeepsItsTexts) {
    const WizardItem items[] = {
        {"https://example.org/a.txt", "\\a.txt", "QV_CREATE_FILE | FILE_ATTRIBUTE_NORMAL",
         "INTERNET_FLAG_TRANSFER_BINARY | INTERNET_FLAG_SECURE", ""},
        {"docs", "\\My Documents\\docs",
         "QV_TWO_WAY_FOLDER_SYNC | QV_NEVER_DELETE_FILES_AND_FOLDERS | QV_CONFLICT_DEVICE_WINS | "
         "QV_INCLUSION_FILTER=*.txt:*.doc | QV_EXCLUSION_FILTER=~*",
         "", ""},
        {"", "old", "QV_LOCAL_DELETE_FOLDER", "", ""},
    };
    for (WizardItem item : items) {
        SCOPED_TRACE(item.fileAttributes);
        item.tableUrl = TableUrl();
        auto node = Node(item);
        const HRESULT hr = RunWizard(node.Get(), [&](HWND sheet) {
            while (!(Buttons(sheet) & PSWIZB_FINISH) && Press(sheet, PSBTN_NEXT)) {
            }
            EXPECT_TRUE(Press(sheet, PSBTN_FINISH)) << Buttons(sheet);
        });
        EXPECT_EQ(hr, S_OK);
        EXPECT_EQ(Stored(node.Get()), item);
    }
}

// On a display for pictures: every page as a user meets it, and a refusal
// as the real box.
TEST_F(FileWizardTest, EveryPageIsPictured) {
    char folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("VORLAN_SCREENSHOT_DIR", folder, sizeof folder)) GTEST_SKIP() << "no display";
    auto node = Node({"http://example.org/files/report.txt", "%CE_MYDOCUMENTS%\\report.txt", "QV_CREATE_FILE", "",
                      TableUrl()});
    std::vector<std::string> pictures;
    RunWizard(node.Get(), [&](HWND sheet) {
        auto shoot = [&](const char* name) {
            RedrawWindow(sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            pictures.push_back(vorlan::testing::SaveScreenshot(sheet, name));
        };
        shoot("wizard-1-operation");
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        shoot("wizard-2-file-origin");
        ASSERT_TRUE(Press(sheet, PSBTN_BACK));
        Choose(sheet, 15);
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        Type(sheet, IDC_ORIGIN, "Documents");
        Type(sheet, IDC_INCLUDE_EDIT, "*.txt");
        ClickItem(sheet, IDC_INCLUDE_ADD);
        Type(sheet, IDC_INCLUDE_EDIT, "*.doc");
        ClickItem(sheet, IDC_INCLUDE_ADD);
        Type(sheet, IDC_EXCLUDE_EDIT, "~*");
        ClickItem(sheet, IDC_EXCLUDE_ADD);
        Type(sheet, IDC_INCLUDE_EDIT, "*.TXT");
        SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", nullptr);
        PostMessageA(PageWindow(sheet), WM_COMMAND, MAKEWPARAM(IDC_INCLUDE_ADD, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(PageWindow(sheet), IDC_INCLUDE_ADD)));
        if (HWND box = vorlan::testing::WaitForDialog("Feldane")) {
            pictures.push_back(vorlan::testing::SaveScreenshot(box, "wizard-already-in-list"));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        } else {
            pictures.push_back("failed: no box");
        }
        SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", "default");
        WaitUntil([&] { return IsWindowEnabled(sheet) != FALSE; });
        Type(sheet, IDC_INCLUDE_EDIT, "");
        shoot("wizard-3-folder-origin");
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        Type(sheet, IDC_DESTINATION, "%CE_MYDOCUMENTS%\\Documents");
        shoot("wizard-4-destination");
        ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
        shoot("wizard-5-two-way-options");
    });
    ASSERT_EQ(pictures.size(), 6u);
    for (const std::string& picture : pictures) EXPECT_EQ(picture.find("failed"), std::string::npos) << picture;
}

}  // namespace
}  // namespace vorlan::filesync::testing
