#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <regex>

#include "Bstr.h"
#include "CeRapi.h"
#include "ComPtr.h"
#include "CoreRun.h"
#include "LoopbackHttpServer.h"
#include "RegistryByPath.h"
#include "VorlanMessages.h"
#include "corvath.h"

namespace vorlan::testing {
namespace {

using Lines = std::vector<std::string>;

class CoreSyncTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(com_.Result()); }

    std::string Items(const std::string& name, const Lines& itemNames) {
        std::vector<std::vector<std::pair<std::string, std::string>>> rows;
        for (const std::string& item : itemNames) rows.push_back({{"Name", item}, {"Value", "v"}});
        return run_.Table(name, "RecorderSync", rows);
    }

    ComScope com_;
    CoreRun run_;
};

TEST_F(CoreSyncTest, RunsDueComponentsInOrderAndRecordsThem) {
    Items("a.xml", {"a1", "a2"});
    Items("b.xml", {"b1"});
    const std::string top = run_.Table(
        "top.xml", "PlugInsCfg",
        {CoreRun::Component("Recorder.Vorlan", "a.xml", "First", "1.2", "3"),
         CoreRun::Component("Recorder.Vorlan", "b.xml", "", "", "", "")});

    ASSERT_EQ(run_.Sync(top), S_OK);
    const Lines first = run_.Journal();
    ASSERT_GT(first.size(), 2u);
    const std::string folderUrl = first[2];
    EXPECT_EQ(first,
              (Lines{"Create", "Init", folderUrl, "PerformTransfer Name=a1 Value=v",
                     "PerformTransfer Name=a2 Value=v", "Release", "Create", "Init",
                     folderUrl.substr(0, folderUrl.size() - 5) + "b.xml", "PerformTransfer Name=b1 Value=v",
                     "Release"}));
    EXPECT_NE(folderUrl.find("a.xml"), std::string::npos) << folderUrl;
    EXPECT_EQ(folderUrl.rfind("ParentUrl ", 0), 0u) << folderUrl;

    EXPECT_EQ(run_.Index("a.xml", "Name"), "First");
    EXPECT_EQ(run_.Index("a.xml", "Version"), "1.2");
    EXPECT_EQ(run_.Index("a.xml", "Patch"), "3");
    // The date as the index has always written it: "Thursday, December 10, 2026".
    const std::string date = run_.Index("a.xml", "Date");
    EXPECT_TRUE(std::regex_match(date, std::regex("(Mon|Tues|Wednes|Thurs|Fri|Satur|Sun)day, (January|February|"
                                                  "March|April|May|June|July|August|September|October|"
                                                  "November|December) [0-3][0-9], 2[0-9]{3}")))
        << date;
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_s(&local, &now);
    EXPECT_NE(date.find(", " + std::to_string(local.tm_year + 1900)), std::string::npos) << date;
    EXPECT_EQ(run_.Index("b.xml", "Name"), "Unnamed");
    EXPECT_EQ(run_.Index("b.xml", "Version"), "1.0");
    EXPECT_EQ(run_.Index("b.xml", "Patch"), "0");
    EXPECT_TRUE(run_.EventIds().empty());

    // A second run sends only what is newer or always synchronised.
    run_.ClearJournal();
    run_.Table("top.xml", "PlugInsCfg",
               {CoreRun::Component("Recorder.Vorlan", "a.xml", "First", "1.2", "3"),
                CoreRun::Component("Recorder.Vorlan", "b.xml", "Second", "1.0", "0", "0")});
    ASSERT_EQ(run_.Sync(top), S_OK);
    EXPECT_TRUE(run_.Journal().empty()) << run_.Journal().size();
    run_.Table("top.xml", "PlugInsCfg",
               {CoreRun::Component("Recorder.Vorlan", "a.xml", "First", "1.2", "4")});
    ASSERT_EQ(run_.Sync(top), S_OK);
    const Lines again = run_.Journal();
    EXPECT_EQ(std::count(again.begin(), again.end(), "Init"), 1);
    EXPECT_EQ(run_.Index("a.xml", "Patch"), "4");
}

TEST_F(CoreSyncTest, FailedComponentsAreReportedAndNotRecorded) {
    Items("good.xml", {"g1"});
    Items("rows.xml", {});
    run_.Table("failing.xml", "RecorderSync", {{{"Name", "f1"}, {"Fail", "broken"}}, {{"Name", "f2"}}});
    const std::string top = run_.Table(
        "top.xml", "PlugInsCfg",
        {CoreRun::Component("Nobody.Vorlan", "good.xml", "Unknown plug-in"),
         CoreRun::Component("Pindrel.InfoNode", "rows.xml", "Not a plug-in"),
         CoreRun::Component("Recorder.Vorlan", "missing.xml", "Missing table"),
         CoreRun::Component("Recorder.Vorlan", "failing.xml", "Failing row"),
         CoreRun::Component("Recorder.Vorlan", "rows.xml", "No rows"),
         CoreRun::Component("Recorder.Vorlan", "good.xml", "Good")});

    ASSERT_EQ(run_.Sync(top), S_OK);  // the component table's rows never stop the run
    const auto ids = run_.EventIds();
    EXPECT_EQ(std::count(ids.begin(), ids.end(), EVT_ITEM_UNUSABLE), 2);  // unknown ProgID, failing row
    EXPECT_EQ(std::count(ids.begin(), ids.end(), EVT_CANNOT_OPEN), 1);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), EVT_PLUGIN_NOT_CREATED), 1);  // no IVorlan
    // Failing single rows don't fail the component; the others are tried again.
    EXPECT_EQ(run_.Index("good.xml", "Name"), "Good");
    EXPECT_EQ(run_.Index("failing.xml", "Name"), "Failing row");
    EXPECT_EQ(run_.Index("rows.xml", "Name"), "No rows");
    EXPECT_EQ(run_.Index("missing.xml", "Name"), "");
    const Lines journal = run_.Journal();
    EXPECT_NE(std::find(journal.begin(), journal.end(), "PerformTransfer Name=f2 Value="), journal.end());

    for (const EventRecord& event : run_.Events()) {
        EXPECT_EQ(event.source, "Vorlan");
        EXPECT_EQ(event.type, 1);
        if (event.eventId == EVT_CANNOT_OPEN) {
            ASSERT_EQ(event.strings.size(), 1u);
            EXPECT_NE(event.strings[0].find("missing.xml"), std::string::npos) << event.strings[0];
        }
    }
}

// An error page is not a component's table, whatever its body holds: the
// component is reported, gets no rows and is tried again next time.
TEST_F(CoreSyncTest, ErrorPagesAreNotTables) {
    LoopbackHttpServer server;
    const std::string table = "<root>\n\t<RecorderSync Name=\"e1\"/>\n</root>";
    server.Serve("/404.xml", table, 404);
    server.Serve("/500.xml", "<html><body><p>Internal error</p></body></html>", 500, "text/html");
    server.Serve("/ok.xml", table);
    const std::string top = run_.Table(
        "top.xml", "PlugInsCfg",
        {CoreRun::Component("Recorder.Vorlan", server.Url("/404.xml"), "Missing"),
         CoreRun::Component("Recorder.Vorlan", server.Url("/500.xml"), "Broken"),
         CoreRun::Component("Recorder.Vorlan", server.Url("/ok.xml"), "Served")});
    for (int run = 0; run < 2; ++run) {
        run_.ClearJournal();
        const size_t before = run_.EventIds().size();
        ASSERT_EQ(run_.Sync(top), S_OK);
        const auto ids = run_.EventIds();
        EXPECT_EQ(std::count(ids.begin() + before, ids.end(), EVT_CANNOT_OPEN), 2) << "tried again at every run";
        const Lines journal = run_.Journal();
        EXPECT_EQ(std::count(journal.begin(), journal.end(), "PerformTransfer Name=e1 Value="), run == 0 ? 1 : 0)
            << "only the served table, and only once";
        EXPECT_EQ(run_.Index(server.Url("/404.xml"), "Name"), "");
        EXPECT_EQ(run_.Index(server.Url("/500.xml"), "Name"), "");
        EXPECT_EQ(run_.Index(server.Url("/ok.xml"), "Name"), "Served");
    }
}

TEST_F(CoreSyncTest, PluginThatFailsToStartIsNotRecorded) {
    Items("a.xml", {"a1"});
    const std::string top =
        run_.Table("top.xml", "PlugInsCfg", {CoreRun::Component("Recorder.Vorlan", "a.xml", "A")});
    SetEnvironmentVariableA("VORLAN_RECORDER_FAIL_INIT", "1");
    ASSERT_EQ(run_.Sync(top), S_OK);
    SetEnvironmentVariableA("VORLAN_RECORDER_FAIL_INIT", nullptr);
    const auto ids = run_.EventIds();
    EXPECT_EQ(std::count(ids.begin(), ids.end(), EVT_DEVICE_NOT_CONNECTED), 2);  // the plug-in's and the core's
    EXPECT_EQ(run_.Index("a.xml", "Name"), "");
    const Lines journal = run_.Journal();
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "PerformTransfer Name=a1 Value=v"), 0);
}

TEST_F(CoreSyncTest, TopTableFailuresEndTheRun) {
    struct Case { const char* note; std::string url; HRESULT hr; uint32_t event; };
    const std::string empty = run_.Folder() / "empty.xml";
    WriteFileBytes(empty, "<root></root>");
    const Case cases[] = {
        {"not a URL", "relative\\top.xml", E_INVALIDARG, EVT_NOT_A_URL},
        {"not loaded", run_.Folder() / "absent.xml", E_INVALIDARG, EVT_CANNOT_OPEN},
        {"element without children", empty, E_INVALIDARG, EVT_CANNOT_OPEN},
    };
    for (const Case& c : cases) {
        const size_t before = run_.EventIds().size();
        EXPECT_EQ(run_.Sync(c.url), c.hr) << c.note;
        const auto ids = run_.EventIds();
        ASSERT_EQ(ids.size(), before + 1) << c.note;
        EXPECT_EQ(ids.back(), c.event) << c.note;
    }
}

TEST_F(CoreSyncTest, AComponentTableThatContainsItselfRunsOnce) {
    const std::string top = run_.Folder() / "top.xml";
    run_.Table("top.xml", "PlugInsCfg",
               {CoreRun::Component("Corvath.Vorlan", "top.xml", "Myself"),
                CoreRun::Component("Recorder.Vorlan", "a.xml", "A")});
    Items("a.xml", {"a1"});
    ASSERT_EQ(run_.Sync(top), S_OK);
    const Lines journal = run_.Journal();
    // Delivered once: wherever the cycle is cut, the index then says it is there.
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "PerformTransfer Name=a1 Value=v"), 1);
    const auto ids = run_.EventIds();
    EXPECT_EQ(std::count(ids.begin(), ids.end(), EVT_ITEM_UNUSABLE), 1);
}

// However the table's own address is spelled in its rows, entering it again
// is cut at once, also for rows that are always due, and the row that tried
// is not recorded.
TEST_F(CoreSyncTest, EverySpellingOfATableThatContainsItselfIsCutAtOnce) {
    Items("a.xml", {"a1"});
    std::string fileUrl = "file:///" + run_.Folder().Path() + "/top.xml";
    std::replace(fileUrl.begin(), fileUrl.end(), '\\', '/');
    const std::string spellings[] = {"top.xml", "./top.xml", "sub/../top.xml", "TOP.xml", fileUrl,
                                     run_.Folder() / "Top.Xml"};
    const std::string top = run_.Folder() / "top.xml";  // a plain path, as the dialogs give it
    auto Run = [&](const std::vector<std::string>& selves) {
        std::vector<std::vector<std::pair<std::string, std::string>>> rows;
        for (const std::string& self : selves)
            rows.push_back(CoreRun::Component("Corvath.Vorlan", self, "Myself", "1.0", "0", "1"));
        rows.push_back(CoreRun::Component("Recorder.Vorlan", "a.xml", "A", "1.0", "0", "1"));
        run_.Table("top.xml", "PlugInsCfg", rows);
        run_.ClearJournal();
        const size_t before = run_.EventIds().size();
        const DWORD start = GetTickCount();
        EXPECT_EQ(run_.Sync(top), S_OK);
        const DWORD took = GetTickCount() - start;
        const auto ids = run_.EventIds();
        const Lines journal = run_.Journal();
        EXPECT_EQ(std::count(journal.begin(), journal.end(), "PerformTransfer Name=a1 Value=v"), 1)
            << selves.front();
        EXPECT_EQ(ids.size() - before, selves.size()) << selves.front() << ": one event per cut row";
        EXPECT_TRUE(std::all_of(ids.begin() + before, ids.end(), [](uint32_t id) { return id == EVT_ITEM_UNUSABLE; }));
        for (const std::string& self : selves) EXPECT_EQ(run_.Index(self, "Name"), "") << self << " recorded";
        return took;
    };
    for (const std::string& self : spellings) Run({self});
    // All of them in one table: cut row by row, never entered in turn.
    const DWORD took = Run(std::vector<std::string>(std::begin(spellings), std::end(spellings)));
    EXPECT_LT(took, 10000u);
}

TEST_F(CoreSyncTest, WithoutAUrlTheDefaultProjectRuns) {
    Items("a.xml", {"a1"});
    run_.Table("top.xml", "PlugInsCfg", {CoreRun::Component("Recorder.Vorlan", "a.xml", "A")});
    const std::string folder = run_.Folder().Path();
    SetEnvironmentVariableA("VORLAN_TEST_PROJECT", folder.c_str());
    const std::string user = "HKEY_CURRENT_USER\\SOFTWARE\\Dravenhall\\Vorlan\\PluginConfig";
    const std::string machine = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Dravenhall\\Vorlan\\PluginConfig";
    ASSERT_EQ(RegWriteString(machine, "%VORLAN_TEST_PROJECT%\\absent.xml"), ERROR_SUCCESS);
    ASSERT_EQ(RegWriteString(user, "%VORLAN_TEST_PROJECT%\\top.xml"), ERROR_SUCCESS);
    EXPECT_EQ(run_.Sync(""), S_OK);
    EXPECT_EQ(run_.Index("a.xml", "Name"), "A");

    DeleteRegValue(user);  // the machine's setting applies
    EXPECT_EQ(run_.Sync(""), E_INVALIDARG);
    EXPECT_EQ(run_.LastEventId(), EVT_CANNOT_OPEN);

    DeleteRegValue(machine);  // neither: the URL test fails
    EXPECT_EQ(run_.Sync(""), E_INVALIDARG);
    EXPECT_EQ(run_.LastEventId(), EVT_NOT_A_URL);
    SetEnvironmentVariableA("VORLAN_TEST_PROJECT", nullptr);
}

// An index that cannot be read is never written back; one that cannot be
// written keeps what it held. Either way the components still run.
TEST_F(CoreSyncTest, TheDeviceIndexIsNeverLostOrCutShort) {
    Items("a.xml", {"a1"});
    const std::string top =
        run_.Table("top.xml", "PlugInsCfg", {CoreRun::Component("Recorder.Vorlan", "a.xml", "A", "1.0", "0", "1")});
    const std::string old = "[old.xml]\r\nName=Old\r\nVersion=3\r\nPatch=1\r\nDate=Monday, May 04, 2026\r\n";
    WriteFileBytes(com::AnsiFromWide(run_.IndexHostPath()), old);
    const std::wstring index = L"\\Program Files\\Dravenhall\\Vorlan\\Vorlan.sdo";

    const uint32_t unreadable = run_.Device().HoldFile(index, 0);
    ASSERT_NE(unreadable, 0u);
    ASSERT_EQ(run_.Sync(top), S_OK);
    ASSERT_TRUE(run_.Device().ReleaseFile(unreadable));
    EXPECT_EQ(ReadFileBytes(com::AnsiFromWide(run_.IndexHostPath())), old);
    auto journal = run_.Journal();
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "PerformTransfer Name=a1 Value=v"), 1);

    WriteFileBytes(com::AnsiFromWide(run_.IndexHostPath()) + ".tmp", "");
    const uint32_t unwritable = run_.Device().HoldFile(index + L".tmp", 0);
    ASSERT_NE(unwritable, 0u);
    ASSERT_EQ(run_.Sync(top), S_OK);
    ASSERT_TRUE(run_.Device().ReleaseFile(unwritable));
    EXPECT_EQ(ReadFileBytes(com::AnsiFromWide(run_.IndexHostPath())), old);
    EXPECT_EQ(run_.LastEventId(), EVT_FILE_NOT_WRITTEN);
    journal = run_.Journal();
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "PerformTransfer Name=a1 Value=v"), 2);
}

// A replacement cut off between its two moves (the old index set aside,
// the new one not yet in its place) loses nothing: the set-aside index is
// put back, and what it records is not sent again.
TEST_F(CoreSyncTest, AnIndexSetAsideByACutReplacementIsPutBack) {
    Items("a.xml", {"a1"});
    const std::string top =
        run_.Table("top.xml", "PlugInsCfg", {CoreRun::Component("Recorder.Vorlan", "a.xml", "A", "1.2", "3")});
    const std::string index = com::AnsiFromWide(run_.IndexHostPath());
    const std::string old = "[a.xml]\r\nName=A\r\nVersion=1.2\r\nPatch=3\r\nDate=Monday, May 04, 2026\r\n"
                            "[old.xml]\r\nName=Old\r\nVersion=3\r\nPatch=1\r\nDate=Monday, May 04, 2026\r\n";
    WriteFileBytes(index + ".old", old);
    WriteFileBytes(index + ".tmp", "[b.xml]\r\nName=B\r\nVersion=1\r\nPatch=0\r\n");
    ASSERT_EQ(GetFileAttributesA(index.c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_EQ(run_.Sync(top), S_OK);
    EXPECT_TRUE(run_.Journal().empty()) << "sent again: " << run_.Journal().size();
    EXPECT_EQ(ReadFileBytes(index), old);
    EXPECT_EQ(GetFileAttributesA((index + ".old").c_str()), INVALID_FILE_ATTRIBUTES);

    // Cut again, now with a component that is due: the index written back
    // holds the set-aside records and the new one.
    MoveFileA(index.c_str(), (index + ".old").c_str());
    run_.Table("top.xml", "PlugInsCfg", {CoreRun::Component("Recorder.Vorlan", "a.xml", "A", "1.2", "4")});
    ASSERT_EQ(run_.Sync(top), S_OK);
    EXPECT_EQ(run_.Journal().size(), 5u);
    EXPECT_EQ(run_.Index("a.xml", "Patch"), "4");
    EXPECT_EQ(run_.Index("old.xml", "Name"), "Old");
}

// Versions and patches are compared whole, however long.
TEST_F(CoreSyncTest, LongVersionsAreReadBackWhole) {
    Items("a.xml", {"a1"});
    const std::string version = "1.2.3.4.5.6.7.8.9.10";  // 20 characters
    const std::string patch = "2026.12.10.1234567890";
    const std::string top =
        run_.Table("top.xml", "PlugInsCfg", {CoreRun::Component("Recorder.Vorlan", "a.xml", "A", version, patch)});
    ASSERT_EQ(run_.Sync(top), S_OK);
    EXPECT_EQ(run_.Index("a.xml", "Version"), version);
    run_.ClearJournal();
    ASSERT_EQ(run_.Sync(top), S_OK);
    EXPECT_TRUE(run_.Journal().empty()) << "due again";
}

// What the index cannot store whole is refused with its event and the
// component is not recorded; nothing of it reaches the device's index.
TEST_F(CoreSyncTest, ValuesTheIndexCannotHoldAreRefused) {
    Items("a.xml", {"a1"});
    Items("b.xml", {"b1"});
    const std::string longName(100000, 'n');
    const std::string longVersion = "1." + std::string(45000, '1');
    struct Case {
        const char* note;
        std::vector<std::pair<std::string, std::string>> row;
    };
    const Case cases[] = {
        {"a 100,000-character name", CoreRun::Component("Recorder.Vorlan", "a.xml", longName)},
        {"a 45,000-character version", CoreRun::Component("Recorder.Vorlan", "a.xml", "A", longVersion)},
        {"a name the profile functions trim", CoreRun::Component("Recorder.Vorlan", "a.xml", " padded ")},
    };
    for (const Case& c : cases) {
        const std::string top =
            run_.Table("top.xml", "PlugInsCfg", {c.row, CoreRun::Component("Recorder.Vorlan", "b.xml", "B")});
        const size_t before = run_.EventIds().size();
        ASSERT_EQ(run_.Sync(top), S_OK) << c.note;
        const auto ids = run_.EventIds();
        EXPECT_EQ(std::count(ids.begin() + before, ids.end(), EVT_FILE_NOT_WRITTEN), 1) << c.note;
        EXPECT_EQ(run_.Index("a.xml", "Name"), "") << c.note;
        EXPECT_EQ(run_.Index("a.xml", "Version"), "") << c.note;
        EXPECT_EQ(run_.Index("b.xml", "Name"), "B") << c.note;
        const std::string stored = ReadFileBytes(com::AnsiFromWide(run_.IndexHostPath()));
        EXPECT_EQ(stored.find("[a.xml]"), std::string::npos) << c.note << ":\n" << stored.substr(0, 200);
        DeleteFileW(run_.IndexHostPath().c_str());
    }
}

// A project text that cannot be run whole is reported with the text, not
// cut short and not passed over for another project.
TEST_F(CoreSyncTest, ProjectTextsTooLongAreReported) {
    Items("a.xml", {"a1"});
    run_.Table("top.xml", "PlugInsCfg", {CoreRun::Component("Recorder.Vorlan", "a.xml", "A")});
    const std::string user = "HKEY_CURRENT_USER\\SOFTWARE\\Dravenhall\\Vorlan\\PluginConfig";
    const std::string machine = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Dravenhall\\Vorlan\\PluginConfig";
    ASSERT_EQ(RegWriteString(machine, (run_.Folder() / "top.xml").c_str()), ERROR_SUCCESS);
    const std::string longUserProject = run_.Folder() / (std::string(300, 'u') + ".xml");
    SetEnvironmentVariableA("VORLAN_TEST_LONG", std::string(300, 'e').c_str());
    struct Case {
        const char* note;
        std::string url;
        std::string userSetting;  // written when not empty
        std::string insertion;    // what the event names
    };
    const Case cases[] = {
        {"a 300-character URL", run_.Folder() / (std::string(280, 'x') + ".xml"), "", ""},
        {"a 40,000-character URL", "C:\\" + std::string(40000, 'y') + ".xml", "", ""},
        {"a 300-character user PluginConfig", "", longUserProject, longUserProject},
        {"a user PluginConfig too long to read", "", "C:\\" + std::string(1500, 'z'),
         "\\SOFTWARE\\Dravenhall\\Vorlan\\PluginConfig"},
        {"an expansion over 259 characters", "C:\\%VORLAN_TEST_LONG%\\top.xml", "",
         "C:\\" + std::string(300, 'e') + "\\top.xml"},
    };
    for (const Case& c : cases) {
        if (!c.userSetting.empty()) {
            ASSERT_EQ(RegWriteString(user, c.userSetting.c_str()), ERROR_SUCCESS);
        }
        run_.ClearJournal();
        const size_t before = run_.EventIds().size();
        EXPECT_EQ(run_.Sync(c.url), E_INVALIDARG) << c.note;
        DeleteRegValue(user);
        EXPECT_TRUE(run_.Journal().empty()) << c.note << ": something ran";
        const auto events = run_.Events();
        ASSERT_EQ(events.size(), before + 1) << c.note;
        EXPECT_EQ(events.back().eventId, EVT_NOT_A_URL) << c.note;
        ASSERT_EQ(events.back().strings.size(), 1u) << c.note;
        const std::string& named = c.insertion.empty() ? c.url : c.insertion;
        EXPECT_EQ(events.back().strings[0].substr(0, 1000), named.substr(0, 1000)) << c.note;
    }
    SetEnvironmentVariableA("VORLAN_TEST_LONG", nullptr);
    DeleteRegValue(machine);

    // A component's address as long: its event, and the component is not recorded.
    const std::string longConfig = std::string(40000, 'c') + ".xml";
    const std::string top =
        run_.Table("long.xml", "PlugInsCfg", {CoreRun::Component("Recorder.Vorlan", longConfig, "Long")});
    EXPECT_EQ(run_.Sync(top), S_OK);
    const auto events = run_.Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().eventId, EVT_NOT_A_URL);
    ASSERT_EQ(events.back().strings.size(), 1u);
    EXPECT_EQ(events.back().strings[0].substr(0, 1000), longConfig.substr(0, 1000));
    EXPECT_EQ(run_.Index(longConfig, "Name"), "");
}

TEST_F(CoreSyncTest, TheEntryObjectEndsOnlyTheDeviceSessionItOpened) {
    const auto deviceAnswers = [] { return CeGetFileAttributes(L"\\Windows") == FILE_ATTRIBUTE_DIRECTORY; };
    {
        RapiSession host;
        ASSERT_TRUE(host.Connected());
        {
            com::ComPtr<IVorlanMain> unused;  // never initialised: nothing of its own to end
            ASSERT_HRESULT_SUCCEEDED(com::CreateInstance(CLSID_VorlanMain, unused));
        }
        EXPECT_TRUE(deviceAnswers()) << "the host's session survives an object that never connected";
        {
            com::ComPtr<IVorlanMain> main;
            ASSERT_HRESULT_SUCCEEDED(com::CreateInstance(CLSID_VorlanMain, main));
            EXPECT_EQ(main->Init(), S_OK);
            EXPECT_EQ(main->Init(), S_OK);  // again, as a provider does at every synchronisation
        }
        EXPECT_TRUE(deviceAnswers());
    }
    EXPECT_FALSE(deviceAnswers()) << "a second Init left a session open";
}

}  // namespace
}  // namespace vorlan::testing
