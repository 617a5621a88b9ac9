#include <gtest/gtest.h>

#include "FolderLevels.h"
#include "PathSafety.h"

namespace vorlan {
namespace {

String16 U16(std::string_view ascii) { return String16(ascii.begin(), ascii.end()); }

TEST(PathSafetyTest, RootsAndEmptyPaths) {
    struct Case {
        const char* path;
        bool unsafe;
    } const cases[] = {
        {"", true},
        {"\\", true},
        {"\\\\", true},
        {"/", true},
        {"C:", true},
        {"C:\\", true},
        {"c:/", true},
        {".", true},
        {".\\", true},
        {"\\Windows\\..", true},
        {"\\Windows\\..\\..\\", true},
        {"C:\\a\\.\\..", true},
        {"\\.\\...", true},
        {"\\\\server", true},
        {"\\\\server\\share", true},
        {"\\\\server\\share\\", true},
        {"\\\\?\\C:\\", true},
        {"\\\\?\\UNC\\server\\share", true},
        {"a\\..", true},
        {"\\Windows", false},
        {"\\Windows\\x.dll", false},
        {"C:\\a", false},
        {"\\\\server\\share\\d", false},
        {"\\\\?\\C:\\a", false},
        {"a", false},
        {"..\\a", false},
        {"\\a\\..\\b", false},
        {"\\..a", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsRootOrEmptyPath(std::string_view(c.path)), c.unsafe) << c.path;
        EXPECT_EQ(IsRootOrEmptyPath(String16View(U16(c.path))), c.unsafe) << c.path << " (UTF-16)";
    }
}

TEST(FolderLevelsTest, Cases) {
    struct Case {
        const char* path;
        bool device;
        std::vector<const char*> want;
    } const cases[] = {
        {"\\A\\B\\C", true, {"\\A", "\\A\\B", "\\A\\B\\C"}},
        {"A\\\\B\\", true, {"\\A", "\\A\\B"}},
        {"\\", true, {}},
        {"", true, {}},
        {"C:\\x\\y", false, {"C:\\", "C:\\x", "C:\\x\\y"}},
        {"C:", false, {"C:\\"}},
        {"\\\\srv\\share\\d\\e", false, {"\\\\srv\\share\\", "\\\\srv\\share\\d", "\\\\srv\\share\\d\\e"}},
        {"\\\\srv", false, {}},
        {"\\x\\y", false, {"\\x", "\\x\\y"}},
        {"x\\y", false, {"x\\", "x\\y"}},
    };
    for (const Case& c : cases) {
        std::vector<String16> want;
        for (const char* level : c.want) want.push_back(U16(level));
        EXPECT_EQ(FolderLevels(U16(c.path), c.device), want) << c.path << (c.device ? " on the device" : "");
    }
}

}  // namespace
}  // namespace vorlan
