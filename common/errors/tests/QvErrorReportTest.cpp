#include <gtest/gtest.h>

#include "ComPtr.h"
#include "EventSources.h"
#include "EventStore.h"
#include "MessageBox.h"
#include "QvErrorReport.h"
#include "RecordFit.h"
#include "TestSupport.h"
#include "VorlanMessages.h"

namespace vorlan {
namespace {

// {B236842E-0B21-4F04-ADF8-FD78EA6045EC}
const GUID kEngineGuid = {0xB236842E, 0x0B21, 0x4F04, {0xAD, 0xF8, 0xFD, 0x78, 0xEA, 0x60, 0x45, 0xEC}};

// A source of this process under the Application log, as the installation
// registers the system's own; removed afterwards.
class TestSource {
public:
    TestSource(const std::string& name, const std::string& messageFile)
        : name_(testing::UniqueName("ErrorsTest-" + name)) {
        EXPECT_EQ(eventlog::RegisterSource(eventlog::kApplicationLog, name_, messageFile), ERROR_SUCCESS);
    }
    ~TestSource() { eventlog::UnregisterSource(eventlog::kApplicationLog, name_); }
    const char* Name() const { return name_.c_str(); }

    // The Application log's records of this source, oldest first.
    std::vector<EventRecord> Records() const {
        DecodedLog log;
        EXPECT_TRUE(eventlog::StoreOfLog(eventlog::kApplicationLog).Read(log));
        std::vector<EventRecord> mine;
        for (EventRecord& r : log.records)
            if (r.source == name_) mine.push_back(std::move(r));
        return mine;
    }

private:
    std::string name_;
};

// The thread's error information, taken (and so cleared).
struct TakenError {
    HRESULT hr = E_FAIL;
    std::string description;
    GUID guid = {};
};

TakenError TakeErrorInfo() {
    TakenError taken;
    com::ComPtr<IErrorInfo> info;
    taken.hr = GetErrorInfo(0, info.Put());
    if (taken.hr == S_OK) {
        com::Bstr description;
        info->GetDescription(description.Put());
        taken.description = description.Ansi();
        info->GetGUID(&taken.guid);
    }
    return taken;
}

// Answers message boxes and keeps what they asked.
struct BoxRecorder {
    std::vector<MessageBoxRequest> asked;
    ScopedMessageBoxAnswerer answerer{[this](const MessageBoxRequest& r) {
        asked.push_back(r);
        return IDOK;
    }};
};

class QvErrorReportTest : public ::testing::Test {
protected:
    testing::ComScope com;
    BoxRecorder boxes;
};

TEST_F(QvErrorReportTest, AFailureReachesTheEventLogAndTheErrorInformation) {
    TestSource source("report", MESSAGES_PATH);
    CQvErrorReport report;
    ASSERT_EQ(report.Init(kEngineGuid, nullptr, source.Name(), 1033, nullptr), S_OK);
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_EQ(report.EventLog().GetSourceName(), source.Name());

    EXPECT_EQ(report.ReportErrorWithArg(EVT_FILE_NOT_WRITTEN, EVENTLOG_ERROR_TYPE, 0, "\\Temp\\x.txt"), S_OK);
    std::vector<EventRecord> records = source.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].eventId, 0xC0020009u);
    EXPECT_EQ(records[0].type, EVENTLOG_ERROR_TYPE);
    EXPECT_EQ(records[0].category, 0);
    EXPECT_EQ(records[0].strings, std::vector<std::string>{"\\Temp\\x.txt"});
    EXPECT_TRUE(records[0].data.empty());

    TakenError error = TakeErrorInfo();
    ASSERT_EQ(error.hr, S_OK);
    EXPECT_EQ(error.description, "The file \\Temp\\x.txt cannot be written.");
    EXPECT_TRUE(IsEqualGUID(error.guid, kEngineGuid));
    EXPECT_EQ(TakeErrorInfo().hr, S_FALSE) << "taking the information clears it";

    EXPECT_EQ(report.ReportError(EVT_DEVICE_NOT_CONNECTED, EVENTLOG_ERROR_TYPE, 0, {}), S_OK);
    ASSERT_EQ(source.Records().size(), 2u);
    EXPECT_TRUE(source.Records()[1].strings.empty());
    EXPECT_EQ(TakeErrorInfo().description.rfind("The device cannot be reached", 0), 0u);
}

// A failure whose text is longer than an event may hold still leaves its
// event, cut with a mark; one the store cannot take at all leaves a note.
TEST_F(QvErrorReportTest, AnOverlongFailureIsCutNotLost) {
    TestSource source("overlong", MESSAGES_PATH);
    CQvErrorReport report;
    ASSERT_EQ(report.Init(kEngineGuid, nullptr, source.Name(), 1033, nullptr), S_OK);
    size_t count = 0;
    for (size_t length : {size_t{33000}, size_t{40000}}) {
        const std::string url = "http://host/" + std::string(length - 12, 'u');
        EXPECT_EQ(report.ReportErrorWithArg(EVT_NOT_A_URL, EVENTLOG_ERROR_TYPE, 0, url), S_OK);
        std::vector<EventRecord> records = source.Records();
        ASSERT_EQ(records.size(), ++count) << length;
        EXPECT_EQ(records.back().eventId, static_cast<uint32_t>(EVT_NOT_A_URL));
        ASSERT_EQ(records.back().strings.size(), 1u);
        const std::string& cut = records.back().strings[0];
        EXPECT_LE(cut.size(), kMaxEventStringSize);
        const std::string mark = eventlog::CutMark(length);
        ASSERT_GT(cut.size(), mark.size());
        EXPECT_EQ(cut.substr(cut.size() - mark.size()), mark);
        EXPECT_EQ(url.compare(0, cut.size() - mark.size(), cut, 0, cut.size() - mark.size()), 0);
        EXPECT_NE(TakeErrorInfo().description.find(url), std::string::npos)
            << "the error information keeps the whole text";
    }

    EXPECT_EQ(report.ReportError(EVT_DEVICE_NOT_CONNECTED, EVENTLOG_ERROR_TYPE, 0,
                                 std::vector<std::string>(kMaxEventStrings + 1, "s")),
              S_OK);
    std::vector<EventRecord> records = source.Records();
    ASSERT_EQ(records.size(), count + 1);
    EXPECT_EQ(records.back().eventId, static_cast<uint32_t>(EVT_EVENT_NOT_STORED));
    ASSERT_FALSE(records.back().strings.empty());
    EXPECT_EQ(records.back().strings[0], "0xC0020011");
}

TEST_F(QvErrorReportTest, TheMessageFilePathIsExpanded) {
    std::string folder = testing::WindowsPath(MESSAGES_PATH);
    folder.resize(folder.rfind('\\'));
    SetEnvironmentVariableA("VORLAN_TEST_MESSAGE_FOLDER", folder.c_str());
    TestSource source("expand", "%VORLAN_TEST_MESSAGE_FOLDER%\\VorlanMessages.dll");
    CQvErrorReport report;
    EXPECT_EQ(report.Init(kEngineGuid, nullptr, source.Name(), 1033, nullptr), S_OK);
    EXPECT_TRUE(report.HasMessageFile());
    EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(QvErrorReportTest, WithoutAMessageFileEventsAreStillWritten) {
    TestSource source("missing", "C:\\no\\such\\folder\\messages.dll");
    CQvErrorReport report;
    EXPECT_TRUE(FAILED(report.Init(kEngineGuid, nullptr, source.Name(), 1033, nullptr)));
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0].text,
              "Cannot find/load file: \"C:\\no\\such\\folder\\messages.dll\"\nPlease verify that this file exist.");
    EXPECT_EQ(boxes.asked[0].caption, "LoadLibrary Error");
    EXPECT_EQ(boxes.asked[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(boxes.asked[0].owner, nullptr);

    EXPECT_EQ(report.ReportErrorWithArg(EVT_FOLDER_NOT_CREATED, EVENTLOG_ERROR_TYPE, 0, "\\Windows\\New"),
              E_INVALIDARG);
    ASSERT_EQ(source.Records().size(), 1u);
    EXPECT_EQ(source.Records()[0].strings, std::vector<std::string>{"\\Windows\\New"});
    EXPECT_EQ(TakeErrorInfo().description, "Error 0xC0020005: \\Windows\\New");
    EXPECT_EQ(boxes.asked.size(), 1u) << "one box, at Init only";

    std::string text = "old";
    EXPECT_EQ(report.FormatMessageText(EVT_PROGRESS_LINE, text), S_FALSE);
    EXPECT_EQ(text, "");
}

TEST_F(QvErrorReportTest, BeforeInitNothingIsLogged) {
    CQvErrorReport report;
    EXPECT_EQ(report.ReportError(EVT_ITEM_UNUSABLE, EVENTLOG_ERROR_TYPE, 0, {}), E_INVALIDARG);
    EXPECT_EQ(TakeErrorInfo().description, "Error 0xC0020003");
    EXPECT_TRUE(boxes.asked.empty());

    CEventLog log;
    EXPECT_FALSE(log.Report(EVT_ITEM_UNUSABLE, EVENTLOG_ERROR_TYPE, {})) << "no source name, nothing written";
}

TEST_F(QvErrorReportTest, MessagesMissingFromTheFile) {
    TestSource source("unknown", MESSAGES_PATH);
    CQvErrorReport report;
    ASSERT_EQ(report.Init(kEngineGuid, nullptr, source.Name(), 1033, nullptr), S_OK);

    std::string text;
    EXPECT_EQ(report.FormatMessageText(EVT_PROGRESS_LINE, text), S_OK);
    EXPECT_EQ(text, "Package %S: Part %d of %d\r\n");
    EXPECT_EQ(report.FormatMessageText(0xC00200FE, text), E_FAIL);

    // The module's own string table stands in for the message file ...
    EXPECT_EQ(report.ReportErrorWithArg(0xC00200FE, EVENTLOG_ERROR_TYPE, 0, "x"), S_OK);
    EXPECT_EQ(TakeErrorInfo().description, "From the string table: x");
    // ... and without either, the fallback text; both events are logged.
    EXPECT_EQ(report.ReportErrorWithArg(0xC00200FD, EVENTLOG_ERROR_TYPE, 0, "y"), S_OK);
    EXPECT_EQ(TakeErrorInfo().description, "Error 0xC00200FD: y");
    EXPECT_EQ(source.Records().size(), 2u);
}

TEST_F(QvErrorReportTest, InitAgainReplacesTheEarlierState) {
    TestSource missing("again-missing", "C:\\no\\messages.dll");
    TestSource present("again-present", MESSAGES_PATH);
    CQvErrorReport report;
    report.Init(kEngineGuid, nullptr, missing.Name(), 1033, nullptr);
    EXPECT_FALSE(report.HasMessageFile());
    ASSERT_EQ(report.Init(GUID_NULL, "Engine", present.Name(), 1033, "help.chm"), S_OK);
    EXPECT_TRUE(report.HasMessageFile());
    EXPECT_EQ(report.SetComErrorInfo("described", 7), S_OK);
    com::ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, info.Put()), S_OK);
    com::Bstr source, helpFile;
    DWORD context = 0;
    info->GetSource(source.Put());
    info->GetHelpFile(helpFile.Put());
    info->GetHelpContext(&context);
    EXPECT_EQ(source.Ansi(), "Engine");
    EXPECT_EQ(helpFile.Ansi(), "help.chm");
    EXPECT_EQ(context, 7u);
}

TEST_F(QvErrorReportTest, RegisterSourceWritesTheStandardValues) {
    std::string name = testing::UniqueName("ErrorsTest-register");
    CEventLog log;
    log.RegisterSource(name, "%SystemRoot%\\messages.dll");
    EXPECT_EQ(log.GetSourceName(), name);
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, ApplicationSourceKey(name).c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    char file[MAX_PATH];
    DWORD type = 0, size = sizeof file, types = 0, typesSize = sizeof types;
    EXPECT_EQ(RegQueryValueExA(key, "EventMessageFile", nullptr, &type, reinterpret_cast<BYTE*>(file), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_STREQ(file, "%SystemRoot%\\messages.dll");
    EXPECT_EQ(size, sizeof "%SystemRoot%\\messages.dll");
    EXPECT_EQ(RegQueryValueExA(key, "TypesSupported", nullptr, &type, reinterpret_cast<BYTE*>(&types), &typesSize),
              ERROR_SUCCESS);
    EXPECT_EQ(types, 7u);
    RegCloseKey(key);
    eventlog::UnregisterSource(eventlog::kApplicationLog, name);
}

}  // namespace
}  // namespace vorlan
