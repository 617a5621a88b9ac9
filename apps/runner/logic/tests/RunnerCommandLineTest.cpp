#include <gtest/gtest.h>

#include "RunnerCommandLine.h"

namespace vorlan::runner {
namespace {

TEST(RunnerCommandLineTest, SwitchAndQuotedProject) {
    struct Case {
        const char* line;
        bool valid;
        bool close;
        const char* url;
    };
    const Case cases[] = {
        {"", true, false, ""},
        {"/SyncNow", true, true, ""},
        {"/syncnow", true, true, ""},
        {"  -SYNCNOW  ", true, true, ""},
        {"/SyncNow \"file:///C:/p/top.xml\"", true, true, "file:///C:/p/top.xml"},
        {"/SyncNow \"C:\\p\\top.xml\" tail \"more\"", true, true, "C:\\p\\top.xml"},
        {"\"a\"", true, false, "a"},
        {"\"a\" /syncnow", true, true, "a"},
        // The switch inside the quotes is part of the path.
        {"\"C:\\SyncNow\\p.xml\"", true, false, "C:\\SyncNow\\p.xml"},
        {"/SyncNow \"C:\\SyncNow\\p.xml\"", true, true, "C:\\SyncNow\\p.xml"},
        {"\"x\" \"/SyncNow\"", true, false, "x"},
        {"/Sync Now", true, false, ""},
        // Empty quoted part, no closing quote, a quote at the end.
        {"/SyncNow \"\"", false, false, ""},
        {"/SyncNow \"\" \"b\"", false, false, ""},
        {"/SyncNow \"abc", false, false, ""},
        {"x\"", false, false, ""},
        {"\"", false, false, ""},
    };
    for (const Case& c : cases) {
        RunnerCommand command;
        command.url = "left over";
        command.closeAfterRun = true;
        EXPECT_EQ(ParseRunnerCommandLine(c.line, command), c.valid) << c.line;
        EXPECT_EQ(command.closeAfterRun, c.close) << c.line;
        EXPECT_EQ(command.url, c.url) << c.line;
    }
}

TEST(RunnerCommandLineTest, SwitchForForwarding) {
    struct Case {
        const char* line;
        bool has;
    };
    const Case cases[] = {
        {"/SyncNow", true},          {"/SYNCNOW \"p\"", true}, {"", false},
        {"\"C:\\SyncNow\"", false},  {"\"unclosed /SyncNow", false},
        {"\"a\" b /syncnow", true},  {"SYNCNO", false},
    };
    for (const Case& c : cases) EXPECT_EQ(HasSyncNowSwitch(c.line), c.has) << c.line;
}

}  // namespace
}  // namespace vorlan::runner
