#include "ProgramItem.h"

#include <gtest/gtest.h>

#include <string>

namespace vorlan::processsync {
namespace {

TEST(ProgramItemTest, FlagTextsGiveTheirAction) {
    const struct {
        const char* flag;
        uint32_t code;
    } cases[] = {
        {"", kCreateProcess},
        {"QV_CREATE_PROCESS", kCreateProcess},
        {"QV_CREATE_WAIT_PROCESS", kCreateWaitProcess},
        {"qv_wm_close_process", kCloseWindow},
        {"QV_LOCAL_SHELL_EXEC", kLocalShellExec},
        {"FOO", kLocalShellExec},
        {"QV_CREATE", kLocalShellExec},
        {"QV_CREATE_PROCESS|QV_LOCAL_SHELL_EXEC", kCreateProcess},
        {"QV_WM_CLOSE_PROCESS QV_CREATE_PROCESS", kCloseWindow},
        {"junk|QV_CREATE_WAIT_PROCESS", kCreateWaitProcess},
    };
    for (const auto& c : cases) EXPECT_EQ(GetActionCode(c.flag), c.code) << '"' << c.flag << '"';
}

TEST(ProgramItemTest, CommandsSplitIntoProgramAndArguments) {
    const std::string longest(1023, 'a'), tooLong(1024, 'a');
    const struct {
        std::string command;
        bool ok;
        std::string program, arguments;
    } cases[] = {
        {R"("\Program Files\A\a.exe" -x)", true, R"(\Program Files\A\a.exe)", "-x"},
        {R"(  "\Windows\view.exe"   "\My Documents\a b.txt"  )", true, R"(\Windows\view.exe)",
         R"("\My Documents\a b.txt")"},
        {R"("\a.exe" -x "b c")", true, R"(\a.exe)", R"(-x "b c")"},
        {R"(\Windows\a.exe -x)", true, R"(\Windows\a.exe -x)", ""},
        {R"(\Windows\a.exe "b c")", true, R"(\Windows\a.exe)", R"("b c")"},
        {R"("%CE_WINDIR%\app.exe")", true, R"(%CE_WINDIR%\app.exe)", ""},
        {R"("\unclosed.exe -x)", true, R"(\unclosed.exe -x)", ""},
        {"", false, "", ""},
        {longest, true, longest, ""},
        {tooLong, false, "", ""},
    };
    for (const auto& c : cases) {
        std::string program = "stale", arguments = "stale";
        EXPECT_EQ(SplitCommandLine(c.command, program, arguments), c.ok) << c.command;
        EXPECT_EQ(program, c.program) << c.command;
        EXPECT_EQ(arguments, c.arguments) << c.command;
    }
}

uint32_t WordAt(const std::vector<uint8_t>& record, size_t offset) {
    return record[offset] | record[offset + 1] << 8 | record[offset + 2] << 16 | uint32_t(record[offset + 3]) << 24;
}

TEST(ProgramItemTest, TheMessageRecordHoldsEachFieldAtItsPlace) {
    const struct {
        std::u16string text, caption;
        uint32_t type, duration;
    } cases[] = {
        {u"Hi", u"", 0x40, 0},                   // a message box: empty caption, no duration
        {u"<b>x</b> \u00e9", u"Vorlan", 0, 5},   // a notification
        {std::u16string(4095, u'x'), std::u16string(509, u'y'), 1, 2},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> record;
        ASSERT_TRUE(BuildMessageRecord(c.text, c.caption, c.type, c.duration, record));
        ASSERT_EQ(record.size(), 9220u);
        std::vector<uint8_t> want(9220, 0);
        for (size_t i = 0; i < c.text.size(); ++i) {
            want[2 * i] = c.text[i] & 0xFF;
            want[2 * i + 1] = c.text[i] >> 8;
        }
        for (size_t i = 0; i < c.caption.size(); ++i) {
            want[8192 + 2 * i] = c.caption[i] & 0xFF;
            want[8192 + 2 * i + 1] = c.caption[i] >> 8;
        }
        EXPECT_EQ(std::vector<uint8_t>(record.begin(), record.begin() + 9212),
                  std::vector<uint8_t>(want.begin(), want.begin() + 9212));
        EXPECT_EQ(WordAt(record, 9212), c.type);
        EXPECT_EQ(WordAt(record, 9216), c.duration);
    }
    std::vector<uint8_t> record;
    ASSERT_TRUE(BuildMessageRecord(u"Hi", u"", 0, 0, record));
    EXPECT_EQ(std::vector<uint8_t>(record.begin(), record.begin() + 6),
              (std::vector<uint8_t>{0x48, 0, 0x69, 0, 0, 0}));
}

TEST(ProgramItemTest, OverLongTextsAreRefusedWhole) {
    const struct {
        std::u16string text, caption;
    } cases[] = {
        {std::u16string(4096, u'x'), u"T"},
        {std::u16string(5000, u'x'), u""},
        {u"Hi", std::u16string(510, u'y')},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> record(3, 1);
        EXPECT_FALSE(BuildMessageRecord(c.text, c.caption, 0, 0, record)) << c.text.size() << "/" << c.caption.size();
        EXPECT_TRUE(record.empty());
    }
}

}  // namespace
}  // namespace vorlan::processsync
