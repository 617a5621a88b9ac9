#include <gtest/gtest.h>

#include "MessageBox.h"
#include "SharedFile.h"
#include "TestSupport.h"

namespace vorlan {
namespace {

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        char old[1024];
        DWORD n = GetEnvironmentVariableA(name, old, sizeof old);
        if (n > 0 && n < sizeof old) old_ = std::string(old, n);
        SetEnvironmentVariableA(name, value);
    }
    ~ScopedEnvironment() { SetEnvironmentVariableA(name_, old_ ? old_->c_str() : nullptr); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(MessageBoxTest, DefaultAnswers) {
    struct Case {
        UINT type;
        int want;
    };
    const Case cases[] = {
        {MB_OK | MB_ICONERROR, IDOK},
        {MB_OKCANCEL, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO, IDYES},
        {MB_YESNO | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_YESNO | MB_DEFBUTTON4, IDYES},
        {MB_RETRYCANCEL, IDRETRY},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
        {MB_CANCELTRYCONTINUE | MB_DEFBUTTON2, IDTRYAGAIN},
    };
    for (const Case& c : cases) EXPECT_EQ(DefaultMessageBoxAnswer(c.type), c.want) << std::hex << c.type;
}

TEST(MessageBoxTest, AnswererThenEnvironmentAndTheJournal) {
    testing::TempFolder folder;
    std::string journal = folder / "boxes.txt";
    ScopedEnvironment journalSetting("VORLAN_MESSAGEBOX_JOURNAL", journal.c_str());
    {
        ScopedEnvironment answer("VORLAN_MESSAGEBOX_ANSWER", "default");
        EXPECT_EQ(ShowMessageBox(nullptr, "Save?", "Editor", MB_YESNO | MB_DEFBUTTON2), IDNO);
    }
    {
        ScopedEnvironment answer("VORLAN_MESSAGEBOX_ANSWER", "6");
        EXPECT_EQ(ShowMessageBox(nullptr, "Sure?", "Editor", MB_YESNO | MB_DEFBUTTON2), IDYES);
        std::vector<MessageBoxRequest> asked;
        ScopedMessageBoxAnswerer answerer([&](const MessageBoxRequest& r) {
            asked.push_back(r);
            return IDCANCEL;
        });
        EXPECT_EQ(ShowMessageBox(nullptr, "line one\nline two", "Caption", MB_OKCANCEL), IDCANCEL)
            << "an installed answerer goes before the environment";
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].text, "line one\nline two");
        EXPECT_EQ(asked[0].caption, "Caption");
        EXPECT_EQ(asked[0].type, static_cast<UINT>(MB_OKCANCEL));
    }
    using Line = std::vector<std::string>;
    EXPECT_EQ(ReadJournal(journal), (std::vector<Line>{
                                        {"messagebox", "Editor", "Save?", "0x104", "7"},
                                        {"messagebox", "Editor", "Sure?", "0x104", "6"},
                                        {"messagebox", "Caption", "line one\nline two", "0x1", "2"},
                                    }));
}

}  // namespace
}  // namespace vorlan
