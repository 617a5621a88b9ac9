#include "ShortcutItem.h"

#include <gtest/gtest.h>

namespace vorlan::shortcutsync {
namespace {

TEST(ShortcutItemTest, PathsAndTargetsOfItems) {
    const struct {
        const char *destination, *name, *target;
        const char *path, *quoted;
    } cases[] = {
        {"%CE_STARTMENU%", "Notes", R"(\Windows\notes.exe)", R"(%CE_STARTMENU%\Notes.lnk)", R"("\Windows\notes.exe")"},
        {R"(\Windows\)", "Tool", R"(\Windows\tool.exe)", R"(\Windows\Tool.lnk)", R"("\Windows\tool.exe")"},
        {R"(\Windows\Start Menu\Programs)", "My App", R"(\Program Files\My App\a.exe)",
         R"(\Windows\Start Menu\Programs\My App.lnk)", R"("\Program Files\My App\a.exe")"},
        {"", "x", "", R"(\x.lnk)", R"("")"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShortcutPath(c.destination, c.name), c.path) << c.destination;
        EXPECT_EQ(QuotedTarget(c.target), c.quoted) << c.target;
    }
}

}  // namespace
}  // namespace vorlan::shortcutsync
