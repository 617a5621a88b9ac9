// Which sections are conflicts, and the rows that show them.
#include <gtest/gtest.h>

#include <string>

#include "ConflictRows.h"

namespace vorlan::conflicts {
namespace {

TEST(ConflictRows, OnlySectionsWithADevicePathAreConflictsInFileOrder) {
    auto conflicts = SelectConflicts({{"C:\\a.txt", "\\a.txt"},
                                      {"C:\\b.txt", "NO_CONFLICT"},
                                      {"C:\\c.txt", "no_Conflict"},
                                      {"C:\\d.txt", "\\d.txt"},
                                      {"C:\\e.txt", "NO_CONFLICTS"}});
    ASSERT_EQ(conflicts.size(), 3u);
    EXPECT_EQ(conflicts[0].desktop, "C:\\a.txt");
    EXPECT_EQ(conflicts[1].device, "\\d.txt");
    EXPECT_EQ(conflicts[2].device, "NO_CONFLICTS") << "only the exact word, in any case, means none";
}

TEST(ConflictRows, EachRowFilledFromItsOwnCopyWithEscapedPaths) {
    const std::string rowTemplate =
        "[%WorkstationFileX%=%WorkstationFile%|%DeviceFileX%=%DeviceFile%|%Radio1-X% %Radio2-X% %Radio3-X% "
        "%RadioGroupX% %NoteX% %Other%]";
    const struct {
        Conflict pair;
        const char* row;
    } cases[] = {
        {{"C:\\R&D\\a<b>.txt", "\\x"}, "[WorkstationFile1=C:\\R&amp;D\\a&lt;b&gt;.txt|DeviceFile1=\\x|"
                                       "Radio1-1 Radio2-1 Radio3-1 RadioGroup1 Note1 %Other%]"},
        {{"C:\\two  blanks\\%DeviceFile%", "\\%WorkstationFileX%"},
         "[WorkstationFile1=C:\\two  blanks\\%DeviceFile%|DeviceFile1=\\%WorkstationFileX%|"
         "Radio1-1 Radio2-1 Radio3-1 RadioGroup1 Note1 %Other%]"},
    };
    for (const auto& c : cases) EXPECT_EQ(BuildRows(rowTemplate, {c.pair}), c.row) << c.pair.desktop;

    std::string two = BuildRows("<%WorkstationFileX%:%WorkstationFile%>", {{"a", "x"}, {"b", "y"}});
    EXPECT_EQ(two, "<WorkstationFile1:a><WorkstationFile2:b>");
    // Only a folder pair gets the note.
    EXPECT_EQ(BuildRows("<%NoteX%:%Note%>", {{"a", "x", true}, {"b", "y"}}, "skip <it> & run"),
              "<Note1:skip &lt;it&gt; &amp; run><Note2:>");
    EXPECT_EQ(BuildRows(rowTemplate, {}), "");
    EXPECT_EQ(RadioId(2, 17), "Radio2-17");
}

}  // namespace
}  // namespace vorlan::conflicts
