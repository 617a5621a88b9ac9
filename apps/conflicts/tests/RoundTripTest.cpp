// A two-way folder item run by the core leaves conflicts; Kessryn settles
// two and skips one; the next run copies nothing and finds only the
// skipped pair still in conflict.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "Bstr.h"
#include "CeRapi.h"
#include "CoreRun.h"
#include "KessrynFixture.h"
#include "TwoWayState.h"
#include "TwoWaySyncData.h"

namespace vorlan::conflicts {
namespace {

using vorlan::testing::CoreRun;
namespace files = vorlan::testing;

// Every file below a folder as "name=bytes @ last write time", sorted.
std::vector<std::string> Snapshot(const std::wstring& folder) {
    std::vector<std::string> entries;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::string name = com::AnsiFromWide(found.cFileName);
        const ULONGLONG written =
            (static_cast<ULONGLONG>(found.ftLastWriteTime.dwHighDateTime) << 32) | found.ftLastWriteTime.dwLowDateTime;
        entries.push_back(name + "=" + files::ReadFileBytes(com::AnsiFromWide(folder) + "\\" + name) + " @ " +
                          std::to_string(written));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(entries.begin(), entries.end());
    return entries;
}

TEST(KessrynRoundTrip, SettledPairsStaySettledAndOnlyTheSkippedOneIsMarkedAgain) {
    files::ComScope com;
    vorlan::testing::ScopedAppData appData;
    CoreRun run;
    ASSERT_TRUE(run.Device().InstallOstrum());
    {
        // Where the device keeps its records.
        files::RapiSession session;
        HKEY key = nullptr;
        DWORD disposition = 0;
        ASSERT_EQ(CeRegCreateKeyEx(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Dravenhall\\Vorlan", 0, nullptr, 0, 0, nullptr, &key,
                                   &disposition),
                  ERROR_SUCCESS);
        const std::wstring store = L"\\Program Files\\Dravenhall\\Vorlan\\TwoWaySync.dat";
        ASSERT_EQ(CeRegSetValueEx(key, L"TwoWaySyncData", 0, REG_SZ, reinterpret_cast<const BYTE*>(store.c_str()),
                                  static_cast<DWORD>((store.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
        CeRegCloseKey(key);
    }
    std::vector<MessageBoxRequest> boxes;
    ScopedMessageBoxAnswerer answerer([&](const MessageBoxRequest& box) {
        boxes.push_back(box);
        return IDOK;
    });

    const std::string ws = run.Folder() / "Work";
    const std::string dev = "\\My Documents\\Work";
    const std::wstring devHost = run.Device().HostPath(com::WideFromAnsi(dev));
    CreateDirectoryA(ws.c_str(), nullptr);
    for (const char* name : {"a.txt", "b.txt", "c.txt", "quiet.txt"})
        files::WriteFileBytes(ws + "\\" + name, std::string("first ") + name);
    const std::string table =
        run.Table("files.xml", "FileSync",
                  {{{"OriginUrl", ws}, {"Dest", dev}, {"FileAttributes", "QV_TWO_WAY_FOLDER_SYNC"}}});
    const std::string project =
        run.Table("project.xml", "PlugInsCfg", {CoreRun::Component("Feldane.Vorlan", table, "Work", "1.0", "0", "1")});
    run.Sync(project);
    ASSERT_EQ(files::ReadFileBytes(com::AnsiFromWide(devHost) + "\\quiet.txt"), "first quiet.txt");

    std::string statePath;
    ASSERT_EQ(GetTwoWaySyncDataPath(statePath), S_OK);
    const auto marked = [&] {
        filesync::TwoWayState state;
        state.Parse(files::ReadFileBytes(statePath));
        std::vector<std::string> pairs;
        for (const std::string& section : state.Sections())
            if (const auto device = state.ConflictRecord(section)) pairs.push_back(section + " -> " + *device);
        return pairs;
    };
    ASSERT_TRUE(marked().empty());

    // Changed on both sides.
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        files::WriteFileBytes(ws + "\\" + name, std::string("desktop ") + name);
        files::WriteFileBytes(com::AnsiFromWide(devHost) + "\\" + name, std::string("device ") + name);
    }
    run.Sync(project);
    const auto pairOf = [&](const std::string& name) { return ws + "\\" + name + " -> " + dev + "\\" + name; };
    ASSERT_EQ(marked(), (std::vector<std::string>{pairOf("a.txt"), pairOf("b.txt"), pairOf("c.txt")}));

    {
        CKessrynDlg dialog;
        ASSERT_TRUE(dialog.Create()) << dialog.LastError();
        ShowWindow(dialog.m_hWnd, SW_SHOW);
        vorlan::testing::PumpMessages(30);
        ASSERT_EQ(dialog.StatePath(), statePath);
        const std::map<std::string, int> choices = {{"a.txt", 1}, {"b.txt", 2}, {"c.txt", 3}};
        ASSERT_EQ(dialog.Conflicts().size(), choices.size());
        for (size_t n = 1; n <= choices.size(); ++n) {
            const std::string shown = dialog.GetElementText(WorkstationFileId(n));
            const std::string name = shown.substr(shown.rfind('\\') + 1);
            ASSERT_EQ(choices.count(name), 1u) << shown;
            EXPECT_TRUE(dialog.ClickElement(RadioId(choices.at(name), n)));
        }
        ASSERT_TRUE(dialog.ClickElement("ButtonResolve"));
        vorlan::testing::PumpMessages(30);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Kessryn resolved all conflicts.");
        dialog.ClickElement("ButtonOK");
        vorlan::testing::PumpMessages(30);
    }
    const std::string devText = com::AnsiFromWide(devHost);
    EXPECT_EQ(files::ReadFileBytes(devText + "\\a.txt"), "desktop a.txt");
    EXPECT_EQ(files::ReadFileBytes(ws + "\\b.txt"), "device b.txt");
    EXPECT_EQ(marked(), std::vector<std::string>{pairOf("c.txt")});

    const auto wsBefore = Snapshot(com::WideFromAnsi(ws)), devBefore = Snapshot(devHost);
    const size_t eventsBefore = run.Events().size();
    Sleep(50);
    run.Sync(project);
    const auto events = run.Events();
    ASSERT_EQ(events.size(), eventsBefore + 1) << "one event: the skipped pair's contents still differ";
    EXPECT_EQ(events.back().eventId, 0xC0020019u);
    EXPECT_EQ(events.back().strings, std::vector<std::string>{ws + "\\c.txt"});
    EXPECT_EQ(Snapshot(com::WideFromAnsi(ws)), wsBefore) << "nothing copied to the desktop";
    EXPECT_EQ(Snapshot(devHost), devBefore) << "nothing copied to the device";
    EXPECT_EQ(marked(), std::vector<std::string>{pairOf("c.txt")});
    EXPECT_EQ(files::ReadFileBytes(ws + "\\c.txt"), "desktop c.txt");
    EXPECT_EQ(files::ReadFileBytes(devText + "\\c.txt"), "device c.txt");
}

}  // namespace
}  // namespace vorlan::conflicts
