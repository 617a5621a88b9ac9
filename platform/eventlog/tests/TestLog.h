#pragma once
// A log and a source of the test's own, whose store lies in a temporary
// folder, so tests running at once never see each other's events.
#include <windows.h>

#include <string>

#include "EventSources.h"
#include "TestSupport.h"

namespace vorlan::eventlog {

class TestLog {
public:
    explicit TestLog(const std::string& name, const std::string& messageFile = MESSAGES_PATH)
        : log_(testing::UniqueName("VorlanTest-" + name)),
          source_(testing::UniqueName("Source-" + name)),
          file_(folder_ / "test.evl") {
        SetLogFile(log_, file_);
        RegisterSource(log_, source_, messageFile);
    }
    ~TestLog() { DeleteLog(log_); }
    TestLog(const TestLog&) = delete;
    TestLog& operator=(const TestLog&) = delete;

    const std::string& Log() const { return log_; }
    const std::string& Source() const { return source_; }
    const std::string& File() const { return file_; }
    const testing::TempFolder& Folder() const { return folder_; }

private:
    testing::TempFolder folder_;
    std::string log_;
    std::string source_;
    std::string file_;
};

}  // namespace vorlan::eventlog
