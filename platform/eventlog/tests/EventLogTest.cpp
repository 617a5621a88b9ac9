#include <gtest/gtest.h>

#include <map>
#include <set>

#include "EventSource.h"
#include "EventSources.h"
#include "EventStore.h"
#include "EventText.h"
#include "RecordFit.h"
#include "SharedFile.h"
#include "TestLog.h"
#include "TextConversion.h"
#include "VorlanMessages.h"

namespace vorlan::eventlog {
namespace {

DecodedLog ReadLog(const TestLog& log) {
    DecodedLog decoded;
    EXPECT_TRUE(StoreOfLog(log.Log()).Read(decoded));
    return decoded;
}

HANDLE StartWriter(const std::string& source, int count, int pauseMs = 0) {
    std::string command = std::string("\"") + WRITER_PATH + "\" " + source + " " + std::to_string(count) + " " +
                          std::to_string(pauseMs);
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    EXPECT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process))
        << command;
    CloseHandle(process.hThread);
    return process.hProcess;
}

TEST(EventSourcesTest, SourcesAreFoundInTheirLog) {
    TestLog log("sources");
    EXPECT_EQ(FindSourceLog(log.Source()), log.Log());
    EXPECT_EQ(FindSourceLog("No-Such-Source-Anywhere"), "Application");
    EXPECT_EQ(StoreOfLog(log.Log()).Path(), log.File());
    EXPECT_EQ(SourceMessageFile(log.Log(), log.Source()), MESSAGES_PATH);
    EXPECT_EQ(SourceMessageFile(log.Log(), "No-Such-Source"), "");

    SetEnvironmentVariableA("VORLAN_TEST_MESSAGES", MESSAGES_PATH);
    ASSERT_EQ(RegisterSource(log.Log(), "Expanded", "%VORLAN_TEST_MESSAGES%"), ERROR_SUCCESS);
    EXPECT_EQ(SourceMessageFile(log.Log(), "Expanded"), MESSAGES_PATH) << "the path is expanded";
    EXPECT_EQ(RegisterSource(log.Log(), "", "x"), ERROR_INVALID_NAME);
}

TEST(EventSourceTest, ReportWritesTheWholeRecord) {
    TestLog log("report");
    EXPECT_EQ(EventSource::Open(""), nullptr);
    auto source = EventSource::Open(log.Source());
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->Log(), log.Log());
    ASSERT_TRUE(source->Report(EVENTLOG_ERROR_TYPE, 0, EVT_FILE_NOT_WRITTEN, {"\\Temp\\x.txt"}));
    ASSERT_TRUE(source->Report(EVENTLOG_WARNING_TYPE, 3, EVT_ITEM_UNUSABLE, {}, std::string("\1\2", 2)));

    DecodedLog decoded = ReadLog(log);
    ASSERT_EQ(decoded.records.size(), 2u);
    const EventRecord& first = decoded.records[0];
    EXPECT_EQ(first.source, log.Source());
    EXPECT_EQ(first.type, EVENTLOG_ERROR_TYPE);
    EXPECT_EQ(first.category, 0);
    EXPECT_EQ(first.eventId, 0xC0020009u);
    EXPECT_EQ(first.strings, std::vector<std::string>{"\\Temp\\x.txt"});
    EXPECT_EQ(first.processId, GetCurrentProcessId());
    EXPECT_FALSE(first.computer.empty());
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    uint64_t nowTicks = static_cast<uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
    EXPECT_LE(first.timeWritten, nowTicks);
    EXPECT_GT(first.timeWritten, nowTicks - 600ull * 10'000'000) << "written in the last ten minutes";
    EXPECT_EQ(decoded.records[1].category, 3);
    EXPECT_EQ(decoded.records[1].data, std::string("\1\2", 2));

    EXPECT_FALSE(source->Report(EVENTLOG_ERROR_TYPE, 0, 1, std::vector<std::string>(kMaxEventStrings + 1, "s")));
    decoded = ReadLog(log);
    ASSERT_EQ(decoded.records.size(), 3u);
    EXPECT_EQ(decoded.records[2].eventId, static_cast<uint32_t>(EVT_EVENT_NOT_STORED))
        << "a record over its bounds is not stored; a note of its loss is";
}

TEST(EventSourceTest, TextsOutsideTheWesternCodePagesSurvive) {
    TestLog log("text");
    auto source = EventSource::Open(log.Source());
    ASSERT_NE(source, nullptr);
    const std::string name = "C:\\\xE6\x96\x87\xE4\xBB\xB6\\\xD0\xB4.txt";  // UTF-8, the code page of our programs
    ASSERT_TRUE(source->Report(EVENTLOG_ERROR_TYPE, 0, EVT_FILE_NOT_WRITTEN, {name}));
    MessageFiles files;
    EXPECT_EQ(FormatEventText(ReadLog(log).records.at(0), log.Log(), files),
              "The file " + name + " cannot be written.");
}

TEST(EventSourceTest, SeveralProcessesAppendAtOnce) {
    TestLog log("writers");
    const int writers = 4, each = 40;
    std::vector<HANDLE> processes;
    for (int i = 0; i < writers; ++i) processes.push_back(StartWriter(log.Source(), each));
    ASSERT_EQ(WaitForMultipleObjects(writers, processes.data(), TRUE, 60000), WAIT_OBJECT_0);
    for (HANDLE p : processes) {
        DWORD code = 1;
        GetExitCodeProcess(p, &code);
        EXPECT_EQ(code, 0u);
        CloseHandle(p);
    }

    DecodedLog decoded = ReadLog(log);
    EXPECT_EQ(decoded.damagedBytes, 0u);
    ASSERT_EQ(decoded.records.size(), static_cast<size_t>(writers * each));
    std::map<std::string, int> next;
    for (const EventRecord& r : decoded.records) {
        ASSERT_EQ(r.strings.size(), 2u);
        EXPECT_EQ(r.strings[1], std::to_string(next[r.strings[0]]++)) << "each writer's records in its order";
    }
    EXPECT_EQ(next.size(), static_cast<size_t>(writers));
}

TEST(EventSourceTest, RecordsSurviveACrash) {
    TestLog log("crash");
    // A writer killed while it runs holds the lock or has written half a
    // record at worst.
    HANDLE writer = StartWriter(log.Source(), 100000, 1);
    for (int i = 0; i < 200 && ReadLog(log).records.size() < 5; ++i) Sleep(20);
    TerminateProcess(writer, 9);
    WaitForSingleObject(writer, 10000);
    CloseHandle(writer);
    size_t before = ReadLog(log).records.size();
    ASSERT_GE(before, 5u);

    // The same after a cut record at the end, as a crash of the machine
    // leaves it.
    std::string partial;
    {
        EventRecord r;
        r.source = log.Source();
        r.strings = {"cut short"};
        ASSERT_TRUE(EncodeEventRecord(r, partial));
    }
    AppendToFile(log.File(), partial.substr(0, partial.size() / 2), true);

    auto source = EventSource::Open(log.Source());
    ASSERT_TRUE(source->Report(EVENTLOG_ERROR_TYPE, 0, EVT_FILE_LOCKED, {"after"}));
    DecodedLog decoded = ReadLog(log);
    ASSERT_EQ(decoded.records.size(), before + 1);
    EXPECT_EQ(decoded.records.back().strings, std::vector<std::string>{"after"});
    EXPECT_EQ(decoded.damagedBytes, partial.size() / 2);
}

TEST(EventStoreTest, AStoreOverItsBoundKeepsTheNewestHalf) {
    testing::TempFolder folder;
    EventStore store(folder / "small.evl", kSmallestMaxLogSize);
    EventRecord r;
    r.source = "Bound";
    r.strings = {std::string(1000, 'x'), ""};
    for (int i = 0; i < 200; ++i) {
        r.strings[1] = std::to_string(i);
        ASSERT_TRUE(store.Append(r));
    }
    std::string content;
    ASSERT_TRUE(ReadWholeFile(store.Path(), content));
    EXPECT_LE(content.size(), kSmallestMaxLogSize + 1100u);
    DecodedLog decoded;
    ASSERT_TRUE(store.Read(decoded));
    ASSERT_FALSE(decoded.records.empty());
    EXPECT_EQ(decoded.records.back().strings[1], "199");
    EXPECT_GT(decoded.records.size(), 20u);
    EXPECT_EQ(decoded.damagedBytes, 0u);
}

// Sets the log's "MaxSize" as an administrator would.
void SetLogMaxSize(const TestLog& log, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kEventLogKey) + "\\" + log.Log()).c_str(), 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "MaxSize", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&size), sizeof size);
    RegCloseKey(key);
}

std::string Repeated(const std::string& text, size_t times) {
    std::string out;
    for (size_t i = 0; i < times; ++i) out += text;
    return out;
}

// A small log holding 30 records takes an event as large as the whole log
// would allow by cutting its insertion strings, each with a mark; the 30
// records keep their place.
TEST(EventSourceTest, AnEventTooLargeForASmallLogIsCutAndTheRecordsStay) {
    TestLog log("small");
    SetLogMaxSize(log, 1000);
    EXPECT_EQ(LogMaxSize(log.Log()), kSmallestMaxLogSize) << "a bound below the smallest is raised to it";
    auto source = EventSource::Open(log.Source());
    ASSERT_TRUE(source);
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(source->Report(EVENTLOG_ERROR_TYPE, 0, 7, {std::string(100, 'r'), std::to_string(i)}));

    struct Case {
        const char* note;
        std::vector<std::string> strings;
    };
    const Case cases[] = {
        {"one string of 40,000 characters", {std::string(40000, 'a')}},
        {"two of 20,000, each within the bound of a string", {std::string(20000, 'b'), "short", std::string(20000, 'c')}},
        {"a cut never splits a character", {std::string(13333, 'x') + Repeated("\xC3\xA9", 9000)}},
    };
    size_t count = 30;
    for (const Case& c : cases) {
        EXPECT_TRUE(source->Report(EVENTLOG_ERROR_TYPE, 0, 8, c.strings)) << c.note;
        DecodedLog decoded = ReadLog(log);
        ASSERT_EQ(decoded.records.size(), ++count) << c.note;
        for (int i = 0; i < 30; ++i)
            EXPECT_EQ(decoded.records[i].strings, (std::vector<std::string>{std::string(100, 'r'), std::to_string(i)}))
                << c.note << ": record " << i;
        const EventRecord& cut = decoded.records.back();
        std::string encoded;
        ASSERT_TRUE(EncodeEventRecord(cut, encoded));
        EXPECT_LE(encoded.size(), source->Store().RecordBound()) << c.note;
        ASSERT_EQ(cut.strings.size(), c.strings.size()) << c.note;
        for (size_t i = 0; i < c.strings.size(); ++i) {
            std::string whole = Utf8FromAnsi(c.strings[i]);
            if (cut.strings[i] == whole) continue;  // a string that fitted is kept whole
            size_t characters = MultiByteToWideChar(CP_ACP, 0, c.strings[i].data(), static_cast<int>(c.strings[i].size()),
                                                    nullptr, 0);
            const std::string mark = CutMark(characters);
            ASSERT_GT(cut.strings[i].size(), mark.size()) << c.note;
            EXPECT_EQ(cut.strings[i].substr(cut.strings[i].size() - mark.size()), mark) << c.note;
            std::string kept = cut.strings[i].substr(0, cut.strings[i].size() - mark.size());
            EXPECT_EQ(whole.compare(0, kept.size(), kept), 0) << c.note << ": the text's beginning is kept";
            EXPECT_GT(kept.size(), 5000u) << c.note;
            EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, kept.data(), static_cast<int>(kept.size()),
                                          nullptr, 0) > 0, true) << c.note << ": valid UTF-8";
        }
        EXPECT_EQ(cut.strings[c.strings.size() > 1 ? 1 : 0] == "short", c.strings.size() > 1) << c.note;
    }
}

// What the store still cannot take leaves a note of the loss in its place.
TEST(EventSourceTest, AnEventTheStoreRefusesLeavesANote) {
    TestLog log("refused");
    auto source = EventSource::Open(log.Source());
    ASSERT_TRUE(source);
    ASSERT_TRUE(source->Report(EVENTLOG_ERROR_TYPE, 0, 1, {"before"}));
    EXPECT_FALSE(source->Report(EVENTLOG_ERROR_TYPE, 0, 0xC0020009, {"x"}, std::string(kMaxEventDataSize + 1, 'd')));
    EXPECT_FALSE(source->Report(EVENTLOG_ERROR_TYPE, 0, 0xC002000B, std::vector<std::string>(kMaxEventStrings + 1, "s")));
    DecodedLog decoded = ReadLog(log);
    ASSERT_EQ(decoded.records.size(), 3u);
    EXPECT_EQ(decoded.records[0].strings, std::vector<std::string>{"before"});
    for (auto [i, id] : {std::pair{1, "0xC0020009"}, std::pair{2, "0xC002000B"}}) {
        EXPECT_EQ(decoded.records[i].eventId, static_cast<uint32_t>(EVT_EVENT_NOT_STORED));
        EXPECT_EQ(decoded.records[i].type, EVENTLOG_ERROR_TYPE);
        ASSERT_EQ(decoded.records[i].strings.size(), 2u);
        EXPECT_EQ(decoded.records[i].strings[0], id);
        EXPECT_TRUE(decoded.records[i].data.empty());
    }
    MessageFiles files;
    const std::string text = FormatEventText(decoded.records[1], log.Log(), files);
    EXPECT_EQ(text.rfind("The event 0xC0020009 could not be stored in the event log: ", 0), 0u) << text;
}

TEST(EventTextTest, MessagesFromTheMessageFile) {
    TestLog log("texts");
    TestLog missing("missing", "C:\\no\\such\\messages.dll");
    EventRecord r;
    r.source = log.Source();
    r.eventId = EVT_FILE_NOT_WRITTEN;
    r.strings = {"\\Temp\\x.txt"};
    MessageFiles files;
    EXPECT_EQ(FormatEventText(r, log.Log(), files), "The file \\Temp\\x.txt cannot be written.");

    r.eventId = 0xC00200FF;
    EXPECT_EQ(FormatEventText(r, log.Log(), files),
              "The description of event 0xC00200FF is not in the message file of source \"" + log.Source() +
                  "\". Insertion strings: \"\\Temp\\x.txt\"");
    r.source = missing.Source();
    r.eventId = EVT_FILE_NOT_WRITTEN;
    EXPECT_NE(FormatEventText(r, missing.Log(), files).find("is not in the message file"), std::string::npos);

    EXPECT_EQ(files.Text(std::string("C:\\none.dll;") + MESSAGES_PATH, EVT_PROGRESS_LINE),
              "Package %S: Part %d of %d")
        << "the second of two files, and printf marks kept as written";
    for (DWORD id = 0xC0020003; id <= 0xC002001B; ++id)
        EXPECT_TRUE(files.Text(MESSAGES_PATH, id, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US))) << std::hex << id;
}

}  // namespace
}  // namespace vorlan::eventlog
