// The browse exports called through the import library as the plug-ins call
// them (a 260-byte buffer, connect 1), against an emulated device, with the
// dialogs driven by messages.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "BrowseDriver.h"
#include "CeRapi.h"
#include "DeviceEmulator.h"
#include "RemoteBrowse.h"
#include "Resource.h"
#include "SharedDeviceSuite.h"
#include "SharedFile.h"
#include "TestSupport.h"
#include "WindowCapture.h"

namespace vorlan {
namespace {

using namespace vorlan::testing;

constexpr char kFileTitle[] = "Browse the test device";
constexpr char kFolderTitle[] = "Choose on the test device";
constexpr char kUntouched[] = "untouched";

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// A file time at noon UTC of a day, so every time zone shows that day.
FILETIME Noon(WORD year, WORD month, WORD day) {
    SYSTEMTIME time = {};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = 12;
    FILETIME file = {};
    SystemTimeToFileTime(&time, &file);
    return file;
}

// The day as the user's short-date format writes it (the system's own
// formatting, as an oracle for the dialog's).
std::string UserShortDate(const FILETIME& time) {
    FILETIME local = {};
    SYSTEMTIME fields = {};
    FileTimeToLocalFileTime(&time, &local);
    FileTimeToSystemTime(&local, &fields);
    char text[64] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &fields, nullptr, text, sizeof text);
    return text;
}

struct DeviceFile {
    const char* path;
    DWORD size;
    FILETIME written;
};

const DeviceFile kFiles[] = {
    {"\\Program Files\\App\\app.exe", 2048, Noon(2026, 1, 2)},
    {"\\Windows\\Start Menu\\Programs\\Tool.lnk", 80, Noon(2026, 1, 3)},
    {"\\Data\\empty.txt", 0, Noon(2026, 5, 9)},
    {"\\Data\\exact.bin", 1024, Noon(2025, 12, 31)},
    {"\\Data\\just-over.bin", 1025, Noon(2026, 3, 1)},
    {"\\Data\\mega.bin", 1048576, Noon(2024, 2, 29)},
    {"\\Data\\Mega-plus.bin", 1048577, Noon(2026, 11, 30)},
    {"\\Data\\Full\\keep.txt", 5, Noon(2026, 6, 1)},
    {"\\Tree\\Full\\keep.txt", 5, Noon(2026, 6, 1)},
};

// Writes a device file of size bytes and its last-write time.
bool PutDeviceFile(const DeviceFile& file) {
    HANDLE handle = CeCreateFile(Wide(file.path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    std::vector<char> bytes(file.size, 'x');
    DWORD written = 0;
    bool ok = file.size == 0 || (CeWriteFile(handle, bytes.data(), file.size, &written, nullptr) && written == file.size);
    ok = CeSetFileTime(handle, nullptr, nullptr, &file.written) && ok;
    return CeCloseHandle(handle) && ok;
}

bool DeviceHas(const std::string& path) { return CeGetFileAttributes(Wide(path).c_str()) != 0xFFFFFFFF; }

// The boxes the browsers asked, from the message-box journal: text per box.
class BoxJournal {
public:
    BoxJournal() : path_(folder_ / "boxes.journal") {
        SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", path_.c_str());
        SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", "default");
    }
    ~BoxJournal() {
        SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", nullptr);
        SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", nullptr);
    }
    // caption and text of each box, in order.
    std::vector<std::pair<std::string, std::string>> Boxes() const {
        std::vector<std::pair<std::string, std::string>> boxes;
        for (const auto& line : ReadJournal(path_))
            if (line.size() >= 3 && line[0] == "messagebox") boxes.emplace_back(line[1], line[2]);
        return boxes;
    }

private:
    TempFolder folder_;
    std::string path_;
};

// HKCU's TranslatePath for the life of the object.
class TranslatePathSetting {
public:
    explicit TranslatePathSetting(DWORD value) {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        RegSetValueExA(key, "TranslatePath", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        RegCloseKey(key);
    }
    ~TranslatePathSetting() { RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, "TranslatePath"); }

private:
    static constexpr char kKey[] = "SOFTWARE\\Dravenhall\\Common\\Mirelda";
};

struct Outcome {
    int result = 0;
    std::string path;
};

class MireldaTest : public SharedDeviceSuite<MireldaTest> {
public:
    static std::string Profile() {
        return std::string(kVorlanInstalled) +
               "Directory = \\Program Files\\App\n"
               "Directory = \\Program Files\\App\\Sub\n"
               "Directory = \\Windows\\Start Menu\\Programs\n"
               "Directory = \\Windows\\Fonts\n"
               "Directory = \\Data\\Full\n"
               "Directory = \\Data\\Empty\n"
               "Directory = \\Tree\\Full\n"
               "Directory = \\Tree\\Empty\n"
               "Directory = \\Tree\\Closed\\Inner\n";
    }
    static void SetUpTestSuite() {
        SharedDeviceSuite::SetUpTestSuite();
        RapiSession session;
        ASSERT_TRUE(session.Connected());
        for (const DeviceFile& file : kFiles) ASSERT_TRUE(PutDeviceFile(file)) << file.path;
    }

protected:
    // A browse as the plug-ins call it, with the dialog driven by steps.
    static Outcome FileBrowse(const char* initial, const std::function<void(HWND)>& steps, int outSize = 260) {
        std::vector<char> out(260, '\0');
        std::strcpy(out.data(), kUntouched);
        Outcome outcome;
        {
            BrowseDriver driver(kFileTitle, steps);
            outcome.result = RapiFileBrowse(out.data(), outSize, 1, initial, nullptr, kFileTitle);
        }
        outcome.path = out.data();
        return outcome;
    }
    static Outcome FolderBrowse(const char* initial, const std::function<void(HWND)>& steps) {
        char out[260] = {};
        std::strcpy(out, kUntouched);
        Outcome outcome;
        {
            BrowseDriver driver(kFolderTitle, steps);
            outcome.result = RapiFolderBrowse(out, sizeof out, 1, nullptr, kFolderTitle, initial);
        }
        outcome.path = out;
        return outcome;
    }
    static HWND List(HWND dialog) { return GetDlgItem(dialog, IDC_FILE_LIST); }
    static HWND Tree(HWND dialog) { return GetDlgItem(dialog, IDC_FOLDER_TREE); }
    // Double-clicks the row of name and waits for the folder it opens.
    static void OpenRow(HWND dialog, const std::string& name) {
        const std::string before = ItemText(dialog, IDC_LOOK_IN);
        const int row = FindRow(List(dialog), name);
        if (row < 0) return;
        SelectRow(List(dialog), row);
        DoubleClickRow(List(dialog), row);
    }
};

TEST_F(MireldaTest, StartsInTheInitialFolderOrBesideTheInitialFile) {
    struct Case {
        const char* initial;
        const char* lookIn;
        const char* selected;  // "" for none
    } const cases[] = {
        {"%CE_PROGRAMFILES%\\App", "\\Program Files\\App\\", ""},
        {"%CE_PROGRAMFILES%\\App\\", "\\Program Files\\App\\", ""},
        {"%ce_programfiles%\\App\\app.exe", "\\Program Files\\App\\", "app.exe"},
        {"\\Missing\\nothing.txt", "\\", ""},
        {"", "\\", ""},
        {nullptr, "\\", ""},
    };
    for (const Case& c : cases) {
        std::string lookIn, selected;
        const Outcome outcome = FileBrowse(c.initial, [&](HWND dialog) {
            lookIn = ItemText(dialog, IDC_LOOK_IN);
            const int row = SelectedRow(List(dialog));
            if (row >= 0) selected = ListViewText(List(dialog), row, 0);
            Click(dialog, IDCANCEL);
        });
        const char* name = c.initial ? c.initial : "(null)";
        EXPECT_EQ(lookIn, c.lookIn) << name;
        EXPECT_EQ(selected, c.selected) << name;
        EXPECT_EQ(outcome.result, IDCANCEL) << name;
        EXPECT_EQ(outcome.path, kUntouched) << name;
    }
}

TEST_F(MireldaTest, FileChosenInTheStartMenuProgramsComesBackSymbolic) {
    std::vector<std::string> folders;
    const Outcome outcome = FileBrowse(nullptr, [&](HWND dialog) {
        for (const char* name : {"Windows", "Start Menu", "Programs"}) {
            OpenRow(dialog, name);
            folders.push_back(ItemText(dialog, IDC_LOOK_IN));
        }
        OpenRow(dialog, "Tool.lnk");
    });
    EXPECT_EQ(folders, (std::vector<std::string>{"\\Windows\\", "\\Windows\\Start Menu\\",
                                                 "\\Windows\\Start Menu\\Programs\\"}));
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(outcome.path, "%CE_STARTMENUPROGRAM%\\Tool.lnk");
}

TEST_F(MireldaTest, WithTranslationOffPathsPassAsTheyAre) {
    TranslatePathSetting off(0);
    // A symbolic initial path is taken as written: no such folder.
    std::string lookIn;
    FileBrowse("%CE_PROGRAMFILES%\\App", [&](HWND dialog) { lookIn = ItemText(dialog, IDC_LOOK_IN); });
    EXPECT_EQ(lookIn, "\\");
    const Outcome outcome = FileBrowse("\\Windows\\Start Menu\\Programs\\Tool.lnk",
                                       [&](HWND dialog) { Click(dialog, IDC_OPEN); });
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(outcome.path, "\\Windows\\Start Menu\\Programs\\Tool.lnk");
}

TEST_F(MireldaTest, OpenWithNothingSelectedReturnsTheFolder) {
    const Outcome outcome = FileBrowse("\\Data", [&](HWND dialog) {
        SelectRow(List(dialog), -1);
        Click(dialog, IDC_OPEN);
    });
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(outcome.path, "\\Data\\");
}

TEST_F(MireldaTest, UpGoesToTheParentAndStopsAtTheRoot) {
    std::vector<std::string> seen;
    FileBrowse("\\Program Files\\App\\Sub", [&](HWND dialog) {
        for (int i = 0; i < 4; ++i) {
            Click(dialog, IDC_UP);
            seen.push_back(ItemText(dialog, IDC_LOOK_IN));
        }
        seen.push_back(std::to_string(FindRow(List(dialog), "Program Files") >= 0));
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"\\Program Files\\App\\", "\\Program Files\\", "\\", "\\", "1"}));
}

TEST_F(MireldaTest, AResultLongerThanTheBufferIsRefused) {
    // "%CE_STARTMENUPROGRAM%\Tool.lnk" and its terminator need 31 bytes.
    for (int size : {30, 31}) {
        const Outcome outcome = FileBrowse("\\Windows\\Start Menu\\Programs\\Tool.lnk",
                                           [&](HWND dialog) { Click(dialog, IDC_OPEN); }, size);
        EXPECT_EQ(outcome.result, size == 31 ? IDOK : IDCANCEL) << size;
        EXPECT_EQ(outcome.path, size == 31 ? "%CE_STARTMENUPROGRAM%\\Tool.lnk" : kUntouched) << size;
    }
}

TEST_F(MireldaTest, ListShowsSizesTypesAndLastWriteDates) {
    std::vector<std::string> names, sizes, types, dates;
    std::string picture;
    FileBrowse("\\Data\\", [&](HWND dialog) {
        names = Column(List(dialog), 0);
        sizes = Column(List(dialog), 1);
        types = Column(List(dialog), 2);
        dates = Column(List(dialog), 3);
        picture = SaveScreenshot(dialog, "file-browser");
    });
    EXPECT_NE(picture.rfind("failed", 0), 0u) << picture;
    struct Want {
        const char *name, *size;
        std::optional<FILETIME> written;
    } const wants[] = {
        {"empty.txt", "0 bytes", Noon(2026, 5, 9)},     {"exact.bin", "1024 bytes", Noon(2025, 12, 31)},
        {"just-over.bin", "1KB", Noon(2026, 3, 1)},     {"mega.bin", "1024KB", Noon(2024, 2, 29)},
        {"Mega-plus.bin", "1MB", Noon(2026, 11, 30)},   {"Full", "0 bytes", std::nullopt},
        {"Empty", "0 bytes", std::nullopt},
    };
    ASSERT_EQ(names.size(), std::size(wants));
    for (const Want& want : wants) {
        auto at = std::find(names.begin(), names.end(), want.name) - names.begin();
        ASSERT_LT(static_cast<size_t>(at), names.size()) << want.name;
        EXPECT_EQ(sizes[at], want.size) << want.name;
        EXPECT_FALSE(types[at].empty()) << want.name;
        if (want.written) {
            EXPECT_EQ(dates[at], UserShortDate(*want.written)) << want.name;
        }
    }
    const auto full = std::find(names.begin(), names.end(), "Full") - names.begin();
    const auto file = std::find(names.begin(), names.end(), "exact.bin") - names.begin();
    EXPECT_NE(types[full], types[file]);
}

TEST_F(MireldaTest, HeadingClicksSortEachColumnBothWays) {
    using Names = std::vector<std::string>;
    std::vector<Names> orders;
    FileBrowse("\\Data\\", [&](HWND dialog) {
        for (int column : {0, 0, 1, 1, 3, 3}) {
            ClickHeading(List(dialog), column);
            orders.push_back(Column(List(dialog), 0));
        }
    });
    const Names byName = {"Empty", "empty.txt", "exact.bin", "Full", "just-over.bin", "Mega-plus.bin", "mega.bin"};
    // Equal sizes (1MB and 1024KB, 1KB and 1024 bytes, the zeros) by name, with case.
    const Names bySizeLargest = {"Mega-plus.bin", "mega.bin", "exact.bin", "just-over.bin",
                                 "Empty",         "Full",     "empty.txt"};
    const Names byDate = {"mega.bin", "exact.bin", "just-over.bin", "empty.txt", "Mega-plus.bin"};
    ASSERT_EQ(orders.size(), 6u);
    EXPECT_EQ(orders[0], byName);
    EXPECT_EQ(orders[1], Names(byName.rbegin(), byName.rend()));
    EXPECT_EQ(orders[2], bySizeLargest);
    EXPECT_EQ(orders[3], Names(bySizeLargest.rbegin(), bySizeLargest.rend()));
    // Files by date; the folders' dates are the device's own.
    auto filesOnly = [&](const Names& names) {
        Names files;
        for (const auto& n : names)
            if (n != "Full" && n != "Empty") files.push_back(n);
        return files;
    };
    EXPECT_EQ(filesOnly(orders[4]), byDate);
    EXPECT_EQ(filesOnly(orders[5]), Names(byDate.rbegin(), byDate.rend()));
}

// Types a name into the new-folder dialog and presses its OK.
void AnswerNewFolder(const std::string& name, bool shoot = false) {
    HWND ask = WaitForDialog("New Folder");
    if (!ask) return;
    SetDlgItemTextA(ask, IDC_NEW_FOLDER_NAME, name.c_str());
    if (shoot) SaveScreenshot(ask, "new-folder");
    PostClick(ask, IDOK);
    WaitUntil([&] { return !IsWindow(ask); });
}

TEST_F(MireldaTest, NewFolderIsMadeAndListedOnlyForAGoodName) {
    std::vector<std::string> names;
    FileBrowse("\\Data\\", [&](HWND dialog) {
        for (const char* name : {"Fresh", "", "bad\\name", "bad/name"}) {
            PostClick(dialog, IDC_NEW_FOLDER);
            AnswerNewFolder(name, std::string(name) == "Fresh");
            WaitUntil([&] { return FindRow(List(dialog), "Fresh") >= 0; }, 2000);
        }
        names = Column(List(dialog), 0);
    });
    EXPECT_NE(std::find(names.begin(), names.end(), "Fresh"), names.end());
    EXPECT_EQ(names.size(), 8u);
    RapiSession session;
    EXPECT_TRUE(DeviceHas("\\Data\\Fresh"));
    EXPECT_FALSE(DeviceHas("\\Data\\bad"));
    CeRemoveDirectory(L"\\Data\\Fresh");
}

TEST_F(MireldaTest, TheSortHoldsAfterARefill) {
    std::vector<std::string> order;
    FileBrowse("\\Data\\", [&](HWND dialog) {
        ClickHeading(List(dialog), 1);
        PostClick(dialog, IDC_NEW_FOLDER);
        AnswerNewFolder("Zed");
        WaitUntil([&] { return FindRow(List(dialog), "Zed") >= 0; }, 2000);
        order = Column(List(dialog), 0);
    });
    EXPECT_EQ(order, (std::vector<std::string>{"Mega-plus.bin", "mega.bin", "exact.bin", "just-over.bin", "Empty",
                                               "Full", "Zed", "empty.txt"}));
    RapiSession session;
    EXPECT_TRUE(CeRemoveDirectory(L"\\Data\\Zed"));
}

TEST_F(MireldaTest, DeleteAsksAndRefusesAFolderThatHoldsFiles) {
    BoxJournal journal;
    bool emptyGone = false, fullKept = false;
    FileBrowse("\\Data\\", [&](HWND dialog) {
        SelectRow(List(dialog), -1);
        Click(dialog, IDC_DELETE);
        SelectRow(List(dialog), FindRow(List(dialog), "Empty"));
        Click(dialog, IDC_DELETE);
        emptyGone = FindRow(List(dialog), "Empty") < 0;
        SelectRow(List(dialog), FindRow(List(dialog), "Full"));
        Click(dialog, IDC_DELETE);
        fullKept = FindRow(List(dialog), "Full") >= 0;
    });
    EXPECT_TRUE(emptyGone);
    EXPECT_TRUE(fullKept);
    using Boxes = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(journal.Boxes(),
              (Boxes{{"Confirm Deletion", "You must select the item to be deleted first."},
                     {"Confirm Deletion", "Are you sure you want to delete \"Empty\"?"},
                     {"Confirm Deletion", "Are you sure you want to delete \"Full\"?"},
                     {"Confirm Deletion",
                      "Could not delete \"Full\".\r\nPlease make sure the folder contains no files or subfolders."}}));
    RapiSession session;
    EXPECT_FALSE(DeviceHas("\\Data\\Empty"));
    EXPECT_TRUE(DeviceHas("\\Data\\Full\\keep.txt"));
    CeCreateDirectory(L"\\Data\\Empty", nullptr);
}

TEST_F(MireldaTest, WithoutADeviceTheUserIsToldAndNothingIsWritten) {
    BoxJournal journal;
    ASSERT_TRUE(device->Disconnect());
    char out[260] = "untouched";
    const DWORD start = GetTickCount();
    const int result = RapiFileBrowse(out, sizeof out, 1, nullptr, nullptr, kFileTitle);
    const DWORD took = GetTickCount() - start;
    const int folderResult = RapiFolderBrowse(out, sizeof out, 1, nullptr, kFolderTitle, nullptr);
    ASSERT_TRUE(device->Reconnect());
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(folderResult, IDCANCEL);
    EXPECT_STREQ(out, kUntouched);
    EXPECT_LT(took, 3500u);
    using Boxes = std::vector<std::pair<std::string, std::string>>;
    const std::pair<std::string, std::string> box = {"Mirelda",
                                                     "Your device must be connected to browse the remote file system."};
    EXPECT_EQ(journal.Boxes(), (Boxes{box, box}));
    // The device is back: a browse works again.
    const Outcome again = FileBrowse("\\Data", [&](HWND dialog) { Click(dialog, IDC_OPEN); });
    EXPECT_EQ(again.result, IDOK);
    EXPECT_EQ(again.path, "\\Data\\");
}

TEST_F(MireldaTest, FolderStartInAnotherCaseIsSelectedAndShown) {
    std::string shown, selected, picture;
    const Outcome outcome = FolderBrowse("\\windows\\FONTS", [&](HWND dialog) {
        shown = ItemText(dialog, IDC_FOLDER_NAME);
        selected = TreeText(Tree(dialog), Selected(Tree(dialog)));
        picture = SaveScreenshot(dialog, "folder-browser");
        Click(dialog, IDOK);
    });
    EXPECT_NE(picture.rfind("failed", 0), 0u) << picture;
    EXPECT_EQ(shown, "\\Windows\\Fonts");
    EXPECT_EQ(selected, "Fonts");
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(outcome.path, "%CE_FONTS%");
}

TEST_F(MireldaTest, FolderStartWithAMissingTailSelectsItsLongestPart) {
    struct Case {
        const char *start, *shown;
    } const cases[] = {
        {"\\Windows\\NoSuch\\Deeper", "\\Windows"},
        {"%CE_PROGRAMFILES%\\App\\Sub", "\\Program Files\\App\\Sub"},
        // Nothing matches: the tree view itself selects its first item when
        // it takes the focus.
        {"\\NoSuch", "\\"},
    };
    for (const Case& c : cases) {
        std::string shown;
        const Outcome outcome = FolderBrowse(c.start, [&](HWND dialog) { shown = ItemText(dialog, IDC_FOLDER_NAME); });
        EXPECT_EQ(shown, c.shown) << c.start;
        EXPECT_EQ(outcome.result, IDCANCEL) << c.start;
    }
}

TEST_F(MireldaTest, OkWithoutAFolderStaysOpen) {
    bool stayed = false;
    const Outcome outcome = FolderBrowse(nullptr, [&](HWND dialog) {
        // The user empties "Folder Name:".
        SetDlgItemTextA(dialog, IDC_FOLDER_NAME, "");
        Click(dialog, IDOK);
        stayed = IsWindowVisible(dialog) != FALSE;
        Click(dialog, IDCANCEL);
    });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(outcome.result, IDCANCEL);
    EXPECT_EQ(outcome.path, kUntouched);
}

TEST_F(MireldaTest, AFolderIsReadOnceWhenFirstOpened) {
    std::vector<std::string> before, after;
    FolderBrowse("\\Tree", [&](HWND dialog) {
        HTREEITEM tree = Selected(Tree(dialog));
        before = ChildTexts(Tree(dialog), tree);
        CreateDirectoryW(device->HostPath(L"\\Tree\\Later").c_str(), nullptr);
        PressKey(Tree(dialog), VK_LEFT);
        PressKey(Tree(dialog), VK_RIGHT);
        after = ChildTexts(Tree(dialog), tree);
    });
    RemoveDirectoryW(device->HostPath(L"\\Tree\\Later").c_str());
    std::sort(before.begin(), before.end());
    EXPECT_EQ(before, (std::vector<std::string>{"Closed", "Empty", "Full"}));
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before);
}

TEST_F(MireldaTest, NewFolderInTheTreeAppearsOnce) {
    std::vector<std::string> unread, read;
    FolderBrowse("\\Tree", [&](HWND dialog) {
        HWND tree = Tree(dialog);
        // Under an item never opened: it is read with the new folder in it.
        HTREEITEM closed = FindChild(tree, Selected(tree), "Closed");
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(closed));
        PostClick(dialog, IDC_NEW_FOLDER);
        AnswerNewFolder("Made");
        WaitUntil([&] { return FindChild(tree, closed, "Made") != nullptr; }, 2000);
        unread = ChildTexts(tree, closed);
        // Under an item read already: added to its children.
        HTREEITEM inner = FindChild(tree, closed, "Inner");
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(inner));
        PressKey(tree, VK_RIGHT);
        PostClick(dialog, IDC_NEW_FOLDER);
        AnswerNewFolder("Deeper");
        WaitUntil([&] { return FindChild(tree, inner, "Deeper") != nullptr; }, 2000);
        read = ChildTexts(tree, inner);
    });
    std::sort(unread.begin(), unread.end());
    EXPECT_EQ(unread, (std::vector<std::string>{"Inner", "Made"}));
    EXPECT_EQ(read, (std::vector<std::string>{"Deeper"}));
    RapiSession session;
    EXPECT_TRUE(DeviceHas("\\Tree\\Closed\\Made"));
    EXPECT_TRUE(DeviceHas("\\Tree\\Closed\\Inner\\Deeper"));
    CeRemoveDirectory(L"\\Tree\\Closed\\Inner\\Deeper");
    CeRemoveDirectory(L"\\Tree\\Closed\\Made");
}

TEST_F(MireldaTest, TreeDeleteAsksAndRefusesAFolderThatHoldsFiles) {
    BoxJournal journal;
    bool emptyGone = false, fullKept = false;
    FolderBrowse("\\Tree\\Empty", [&](HWND dialog) {
        HWND tree = Tree(dialog);
        HTREEITEM parent = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(Selected(tree))));
        Click(dialog, IDC_DELETE);
        emptyGone = FindChild(tree, parent, "Empty") == nullptr;
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FindChild(tree, parent, "Full")));
        Click(dialog, IDC_DELETE);
        fullKept = FindChild(tree, parent, "Full") != nullptr;
    });
    EXPECT_TRUE(emptyGone);
    EXPECT_TRUE(fullKept);
    using Boxes = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(journal.Boxes(),
              (Boxes{{"Confirm Deletion", "Are you sure you want to delete \"Empty\"?"},
                     {"Confirm Deletion", "Are you sure you want to delete \"Full\"?"},
                     {"Confirm Deletion",
                      "Could not delete \"Full\".\r\nPlease make sure the folder contains no files or subfolders."}}));
    RapiSession session;
    EXPECT_FALSE(DeviceHas("\\Tree\\Empty"));
    EXPECT_TRUE(DeviceHas("\\Tree\\Full\\keep.txt"));
    CeCreateDirectory(L"\\Tree\\Empty", nullptr);
}

TEST_F(MireldaTest, ChosenFolderComesBackSymbolic) {
    const Outcome outcome = FolderBrowse("\\Program Files\\App", [&](HWND dialog) { Click(dialog, IDOK); });
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(outcome.path, "%CE_PROGRAMFILES%\\App");
}

}  // namespace
}  // namespace vorlan

namespace vorlan {
namespace {

// Each browse reads the device's folders anew: a device met later, whose
// programs folder is elsewhere, is translated by its own folders.
TEST(MireldaDevicesTest, EachBrowseTranslatesByTheDeviceConnectedNow) {
    struct Case {
        const char* profile;
        const char* file;
        const char* want;
    } const cases[] = {
        {"", "\\Windows\\Start Menu\\Programs\\a.lnk", "%CE_STARTMENUPROGRAM%\\a.lnk"},
        {"Folder.2 = \\Apps\nDirectory = \\Windows\\Start Menu\\Programs\n", "\\Apps\\a.lnk",
         "%CE_STARTMENUPROGRAM%\\a.lnk"},
        // Here the old programs folder is only a folder below the start menu.
        {"Folder.2 = \\Apps\nDirectory = \\Windows\\Start Menu\\Programs\n", "\\Windows\\Start Menu\\Programs\\a.lnk",
         "%CE_STARTMENU%\\Programs\\a.lnk"},
    };
    for (const Case& c : cases) {
        DeviceEmulator device(std::string(kVorlanInstalled) + c.profile + "Directory = \\Apps\n" +
                              "Directory = \\Windows\\Start Menu\\Programs\n");
        device.UseForRapi();
        {
            RapiSession session;
            ASSERT_TRUE(session.Connected());
            ASSERT_TRUE(PutDeviceFile({c.file, 1, Noon(2026, 1, 1)})) << c.file;
        }
        char out[260] = {};
        int result = 0;
        {
            BrowseDriver driver(kFileTitle, [](HWND dialog) { Click(dialog, IDC_OPEN); });
            result = RapiFileBrowse(out, sizeof out, 1, c.file, nullptr, kFileTitle);
        }
        EXPECT_EQ(result, IDOK) << c.file;
        EXPECT_STREQ(out, c.want) << c.file;
    }
}

}  // namespace
}  // namespace vorlan
