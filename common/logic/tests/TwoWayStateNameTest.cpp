#include <gtest/gtest.h>

#include "TwoWayStateName.h"

namespace vorlan {
namespace {

TEST(TwoWayStateNameTest, Cases) {
    struct Case {
        const char* device;
        const char* file;  // "" when refused
    };
    const Case cases[] = {
        {"Pocket_PC", "TwoWaySyncData-Pocket_PC.ini"},
        {"Unknown", "TwoWaySyncData-Unknown.ini"},
        {"G\xC3\xA9rard's PDA", "TwoWaySyncData-G\xC3\xA9rard's PDA.ini"},
        {"", ""},
        {".", ""},
        {"..", ""},
        {"..\\..\\Startup\\x", ""},
        {"a/b", ""},
        {"C:x", ""},
        {"dev*", ""},
        {"tab\there", ""},
    };
    for (const Case& c : cases) {
        std::string file = "old";
        EXPECT_EQ(TwoWayStateFileName(c.device, file), *c.file != '\0') << c.device;
        EXPECT_EQ(file, c.file) << c.device;
    }
}

}  // namespace
}  // namespace vorlan
