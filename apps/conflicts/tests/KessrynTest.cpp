// Kessryn's window against an emulated device and state files the tests
// write; message boxes answered and recorded.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "Bstr.h"
#include "HtmlDump.h"
#include "KessrynFixture.h"
#include "WindowCapture.h"

namespace vorlan::conflicts {
namespace {

using testing::KessrynSuite;
using vorlan::testing::TempFolder;
namespace files = vorlan::testing;

using Kessryn = KessrynSuite;

TEST_F(Kessryn, ListsTheConflictsOfTheStateFileInFileOrder) {
    const struct {
        const char* file;
        std::vector<Conflict> rows;
    } cases[] = {
        {"[C:\\w\\a.txt]\r\nCRC=12\r\nConflitant=\\My Documents\\a.txt\r\n"
         "[C:\\w\\b.txt]\r\nConflitant=NO_CONFLICT\r\n"
         "[C:\\w\\c.txt]\r\nConflitant=no_conflict\r\n"
         "[C:\\w\\d.txt]\r\nCRC=4294967295\r\n"
         "[C:\\w\\R&D <1>.txt]\r\nConflitant=\\x\\two  blanks %DeviceFile%.txt\r\n",
         {{"C:\\w\\a.txt", "\\My Documents\\a.txt"}, {"C:\\w\\R&D <1>.txt", "\\x\\two  blanks %DeviceFile%.txt"}}},
        {"[C:\\w\\d.txt]\r\nCRC=1\r\n[C:\\w\\e.txt]\r\nConflitant=No_Conflict\r\n", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        files::WriteFileBytes(statePath_, c.file);
        CKessrynDlg dialog;
        Open(dialog);
        ASSERT_EQ(dialog.StatePath(), statePath_);
        ASSERT_EQ(dialog.Conflicts().size(), c.rows.size()) << c.file;
        for (size_t i = 0; i < c.rows.size(); ++i) {
            const size_t n = i + 1;
            EXPECT_EQ(dialog.GetElementText(WorkstationFileId(n)), c.rows[i].desktop) << n;
            EXPECT_EQ(dialog.GetElementText(DeviceFileId(n)), c.rows[i].device) << n;
            EXPECT_TRUE(dialog.GetRadioChecked(RadioId(1, n))) << n;
            EXPECT_FALSE(dialog.GetRadioChecked(RadioId(2, n))) << n;
            EXPECT_FALSE(dialog.GetRadioChecked(RadioId(3, n))) << n;
            EXPECT_NE(dialog.GetElementWindow(RadioId(3, n)), nullptr) << n;
        }
        EXPECT_EQ(dialog.GetElementById(WorkstationFileId(c.rows.size() + 1)), nullptr);
        EXPECT_EQ(dialog.IsElementEnabled("ButtonResolve"), !c.rows.empty()) << c.file;
        if (c.rows.empty()) {
            EXPECT_EQ(dialog.GetElementText("fileList"), "No conflicts detected.");
        }
        EXPECT_EQ(dialog.GetWindowText(), "Dravenhall Vorlan - Kessryn");
    }
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(Kessryn, EverySectionIsListedHoweverLongTheNames) {
    std::string file;
    const int count = 300;
    for (int i = 0; i < count; ++i) {
        char name[200];
        std::snprintf(name, sizeof name, "C:\\%0140d\\file%03d.txt", 0, i);
        file += std::string("[") + name + "]\r\nConflitant=\\f" + std::to_string(i) + "\r\n";
    }
    ASSERT_GT(file.size(), 39000u * 1.1);
    files::WriteFileBytes(statePath_, file);
    CKessrynDlg dialog;
    Open(dialog);
    ASSERT_EQ(dialog.Conflicts().size(), static_cast<size_t>(count));
    EXPECT_EQ(dialog.GetElementText(DeviceFileId(count)), "\\f" + std::to_string(count - 1));
}

TEST_F(Kessryn, AStateFileThatCannotBeReadIsReported) {
    ASSERT_TRUE(CreateDirectoryA(statePath_.c_str(), nullptr));
    CKessrynDlg dialog;
    Open(dialog);
    const std::string text = dialog.GetElementText("fileList");
    EXPECT_EQ(text.rfind("Kessryn is unable to read the state file " + statePath_ + " (error 0x", 0), 0u) << text;
    EXPECT_FALSE(dialog.IsElementEnabled("ButtonResolve"));
    EXPECT_TRUE(dialog.Conflicts().empty());
    RemoveDirectoryA(statePath_.c_str());
}

TEST_F(Kessryn, AFolderPairCanOnlyBeSkipped) {
    TempFolder desktop;
    CreateDirectoryW(device_.HostPath(L"\\My Documents\\Folder").c_str(), nullptr);
    CreateDirectoryW(device_.HostPath(L"\\Top").c_str(), nullptr);
    const struct {
        std::string desktop, device;
        bool folder;
    } pairs[] = {
        {desktop.Path(), "\\Folder", true},                      // a folder on the desktop
        {"C:\\w\\f.txt", "\\My Documents\\f.txt", false},       // a file beside a folder
        {"C:\\w\\Folder", "\\MY DOCUMENTS\\FOLDER", true},     // a folder on the device, in other case
        {"C:\\w\\Top", "\\Top", true},                         // a folder at the device's root
        {"C:\\w\\g.txt", "\\Nowhere\\g.txt", false},           // in a folder that is not there
        {"C:\\w\\h.txt", "\\My Documents\\Folder\\", true},   // named with its final backslash
    };
    std::string file;
    for (const auto& pair : pairs) file += "[" + pair.desktop + "]\r\nConflitant=" + pair.device + "\r\n";
    files::WriteFileBytes(statePath_, file);
    CKessrynDlg dialog;
    Open(dialog);
    ASSERT_EQ(dialog.Conflicts().size(), std::size(pairs));
    for (size_t n = 1; n <= std::size(pairs); ++n) {
        const bool folder = pairs[n - 1].folder;
        SCOPED_TRACE(pairs[n - 1].device);
        EXPECT_EQ(dialog.Conflicts()[n - 1].folder, folder);
        EXPECT_EQ(dialog.GetRadioChecked(RadioId(3, n)), folder);
        EXPECT_EQ(dialog.IsElementEnabled(RadioId(1, n)), !folder);
        EXPECT_EQ(dialog.IsElementEnabled(RadioId(2, n)), !folder);
        EXPECT_EQ(dialog.GetElementText("Note" + std::to_string(n)),
                  folder ? "A folder: run its item with a winning side to settle it." : "");
    }
}

// As installed without the file plug-in: no copy object to be had.
class KessrynWithoutCopyObject : public CKessrynDlg {
protected:
    HRESULT CreateFileCopy(IQvFileCopy** copy) override {
        *copy = nullptr;
        return REGDB_E_CLASSNOTREG;
    }
};

TEST_F(Kessryn, WithoutTheCopyObjectNothingChanges) {
    const std::string file = "[C:\\w\\a.txt]\r\nConflitant=\\a.txt\r\n";
    files::WriteFileBytes(statePath_, file);
    KessrynWithoutCopyObject dialog;
    Open(dialog);
    ASSERT_TRUE(dialog.ClickElement("ButtonResolve"));
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, "Unable to resolve conflicts: Vorlan not properly installed.");
    EXPECT_EQ(boxes_[0].caption, "Kessryn");
    EXPECT_TRUE(boxes_[0].type & MB_ICONWARNING);
    EXPECT_EQ(files::ReadFileBytes(statePath_), file);
}

TEST_F(Kessryn, CloseEndsTheDialogAndTheLinkIsJournalled) {
    TempFolder folder;
    const std::string journal = folder / "links.txt";
    SetEnvironmentVariableA("VORLAN_SHELL_JOURNAL", journal.c_str());
    CKessrynDlg dialog;
    Open(dialog);
    EXPECT_TRUE(dialog.ClickElement("DravenhallLink"));
    SetEnvironmentVariableA("VORLAN_SHELL_JOURNAL", nullptr);
    EXPECT_EQ(files::ReadFileBytes(journal), "http://www.dravenhall.example/\n");
    EXPECT_TRUE(dialog.ClickElement("ButtonOK"));
    vorlan::testing::PumpMessages(30);
    EXPECT_EQ(dialog.m_hWnd, nullptr) << "closed";
}

TEST_F(Kessryn, TwoThousandConflictsListAndScrollToTheLastRow) {
    std::string file;
    const int count = 2000;
    for (int i = 1; i <= count; ++i)
        file += "[C:\\Work\\file" + std::to_string(i) + ".txt]\r\nConflitant=\\My Documents\\file" +
                std::to_string(i) + ".txt\r\n";
    files::WriteFileBytes(statePath_, file);
    auto start = std::chrono::steady_clock::now();
    CKessrynDlg dialog;
    Open(dialog);
    ASSERT_EQ(dialog.Conflicts().size(), static_cast<size_t>(count));
    dialog.ScrollIntoView(RadioId(3, count));
    vorlan::testing::PumpMessages(30);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("listed and scrolled %d conflicts in %.2f s (aim: under 3 s)\n", count, seconds);
    EXPECT_GT(dialog.ScrollPosition(), 0);
    EXPECT_NE(dialog.GetElementWindow(RadioId(3, count)), nullptr) << "every row has its controls";
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(Kessryn, Pictures) {
    files::WriteFileBytes(statePath_,
                            "[C:\\Work\\Report.doc]\r\nConflitant=\\My Documents\\Report.doc\r\n"
                            "[C:\\Work\\R&D <plans>.xls]\r\nConflitant=\\My Documents\\R&D <plans>.xls\r\n"
                            "[C:\\Work\\Notes.txt]\r\nCRC=17\r\nConflitant=\\Notes.txt\r\n");
    {
        CKessrynDlg dialog;
        Open(dialog);
        ASSERT_EQ(dialog.Conflicts().size(), 3u);
        dialog.ClickElement("Radio2-2");
        dialog.ClickElement("Radio3-3");
        EXPECT_EQ(vorlan::testing::SaveScreenshot(dialog.m_hWnd, "three-conflicts").find("failed"), std::string::npos);
    }
    files::WriteFileBytes(statePath_, "[C:\\Work\\Notes.txt]\r\nCRC=17\r\n");
    {
        CKessrynDlg dialog;
        Open(dialog);
        EXPECT_EQ(vorlan::testing::SaveScreenshot(dialog.m_hWnd, "no-conflicts").find("failed"), std::string::npos);
    }
    // A folder pair first, a path longer than its column, then a list long
    // enough to scroll to its end.
    CreateDirectoryW(device_.HostPath(L"\\My Documents\\Photos").c_str(), nullptr);
    std::string file = "[C:\\Work\\Photos]\r\nConflitant=\\My Documents\\Photos\r\n"
                       "[C:\\Users\\Someone\\Documents\\Projects\\QuarterlyReports\\2026\\Board.doc]\r\n"
                       "Conflitant=\\My Documents\\Projects\\QuarterlyReports\\2026\\Board.doc\r\n";
    for (int i = 1; i <= 60; ++i)
        file += "[C:\\Work\\Letter " + std::to_string(i) + ".doc]\r\nConflitant=\\My Documents\\Letter " +
                std::to_string(i) + ".doc\r\n";
    files::WriteFileBytes(statePath_, file);
    {
        CKessrynDlg dialog;
        Open(dialog);
        ASSERT_EQ(dialog.Conflicts().size(), 62u);
        EXPECT_EQ(vorlan::testing::SaveScreenshot(dialog.m_hWnd, "folder-pair").find("failed"), std::string::npos);
        dialog.ScrollIntoView(RadioId(3, 62));
        dialog.ClickElement(RadioId(2, 62));
        EXPECT_EQ(vorlan::testing::SaveScreenshot(dialog.m_hWnd, "scrolled-to-the-end").find("failed"),
                  std::string::npos);
    }
}

TEST_F(Kessryn, TheProgramRunsAsItsOwnProcess) {
    TempFolder desktop;
    for (const char* name : {"a.txt", "b.txt"}) {
        files::WriteFileBytes(desktop / name, std::string("desktop ") + name);
        files::WriteFileBytes(com::AnsiFromWide(device_.HostPath(com::WideFromAnsi(std::string("\\") + name))),
                              std::string("device ") + name);
    }
    files::WriteFileBytes(statePath_, "[" + (desktop / "a.txt") + "]\r\nConflitant=\\a.txt\r\n[" +
                                          (desktop / "b.txt") + "]\r\nConflitant=\\b.txt\r\n");
    const std::string journal = desktop / "boxes.txt";
    files::ScopedEnvironment journalled("VORLAN_MESSAGEBOX_JOURNAL", journal);
    PROCESS_INFORMATION process;
    ASSERT_TRUE(vorlan::testing::StartProgram(std::string("\"") + KESSRYN_PATH + "\"", process));
    HWND window = nullptr, radio = nullptr;
    for (int i = 0; i < 200 && !radio; ++i) {
        window = FindWindowA(nullptr, "Dravenhall Vorlan - Kessryn");
        if (window) radio = vorlan::testing::FindElementWindow(window, "Radio1-2");
        if (!radio) Sleep(50);
    }
    ASSERT_NE(radio, nullptr) << "the window and its second row";
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    EXPECT_EQ(owner, process.dwProcessId);
    EXPECT_EQ(SendMessageA(radio, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(vorlan::testing::FindElementWindow(window, "Radio1-3"), nullptr);
    HWND resolve = vorlan::testing::FindElementWindow(window, "ButtonResolve");
    ASSERT_NE(resolve, nullptr);
    EXPECT_TRUE(IsWindowEnabled(resolve));

    // Resolve by clicks from outside: the device's copy of b, the desktop's
    // of a. The program's box answers itself in an automated run.
    HWND deviceWins = vorlan::testing::FindElementWindow(window, "Radio2-2");
    ASSERT_NE(deviceWins, nullptr);
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(deviceWins, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer));
    EXPECT_EQ(SendMessageA(radio, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "grouped by row";
    ASSERT_TRUE(SendMessageTimeoutA(resolve, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 60000, &answer));
    EXPECT_NE(files::ReadFileBytes(journal).find("Kessryn resolved all conflicts."), std::string::npos)
        << files::ReadFileBytes(journal);
    EXPECT_EQ(files::ReadFileBytes(com::AnsiFromWide(device_.HostPath(L"\\a.txt"))), "desktop a.txt");
    EXPECT_EQ(files::ReadFileBytes(desktop / "b.txt"), "device b.txt");
    EXPECT_EQ(files::ReadFileBytes(statePath_).find("Conflitant"), std::string::npos);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(vorlan::testing::WaitForProgram(process, 10000), 0) << "the program ends by itself";
}

// With no device: string 108, Resolve disabled, and no state file made.
TEST(KessrynNoDevice, SaysSoAndMakesNoFile) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    SetEnvironmentVariableW(L"VORLAN_DEVICE", L"C:\\no such device");
    vorlan::testing::ScopedAppData appData;
    {
        CKessrynDlg dialog;
        ASSERT_TRUE(dialog.Create()) << dialog.LastError();
        ShowWindow(dialog.m_hWnd, SW_SHOW);
        vorlan::testing::PumpMessages(30);
        EXPECT_EQ(dialog.GetElementText("fileList"),
                  "Kessryn is unable to communicate with CE device. Make sure it's turned on and connected.");
        EXPECT_FALSE(dialog.IsElementEnabled("ButtonResolve"));
        EXPECT_TRUE(dialog.Conflicts().empty());
        EXPECT_EQ(GetFileAttributesA((appData / "Dravenhall\\Vorlan\\TwoWaySyncData-Unknown.ini").c_str()),
                  INVALID_FILE_ATTRIBUTES);
        vorlan::testing::SaveScreenshot(dialog.m_hWnd, "no-device");
    }
    CoUninitialize();
}

}  // namespace
}  // namespace vorlan::conflicts
