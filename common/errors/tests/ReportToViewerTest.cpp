#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "EventSources.h"
#include "EventViewerDialog.h"
#include "MessageBox.h"
#include "QvErrorReport.h"
#include "TestSupport.h"
#include "ViewerIds.h"
#include "VorlanMessages.h"

namespace vorlan {
namespace {

using testing::ListViewText;

// A failure reported by an engine is what the event viewer lists for the
// Application log.
TEST(ReportToViewerTest, TheViewerShowsAReportedFailure) {
    testing::ComScope com;
    ScopedMessageBoxAnswerer noBoxes([](const MessageBoxRequest& r) -> int {
        ADD_FAILURE() << "unexpected box: " << r.text;
        return IDOK;
    });
    const std::string source = testing::UniqueName("ErrorsTest-viewer");
    ASSERT_EQ(eventlog::RegisterSource(eventlog::kApplicationLog, source, MESSAGES_PATH), ERROR_SUCCESS);
    CQvErrorReport report;
    ASSERT_EQ(report.Init(GUID_NULL, nullptr, source.c_str(), 1033, nullptr), S_OK);
    ASSERT_EQ(report.ReportErrorWithArg(EVT_FOLDER_NOT_REMOVED, EVENTLOG_ERROR_TYPE, 0, "\\My Documents\\Old"), S_OK);

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    eventlog::EventViewerDialog viewer(eventlog::kApplicationLog);
    ASSERT_TRUE(viewer.Create());
    HWND list = viewer.GetDlgItem(IDC_EVENTS);
    int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    int found = -1;
    for (int row = 0; row < rows && found < 0; ++row)
        if (ListViewText(list, row, 2) == source) found = row;
    ASSERT_GE(found, 0) << "the record is listed";
    EXPECT_EQ(ListViewText(list, found, 0), "Error");
    EXPECT_EQ(ListViewText(list, found, 3), "0xC0020006");
    EXPECT_EQ(ListViewText(list, found, 4), "The folder \\My Documents\\Old cannot be removed.");
    eventlog::UnregisterSource(eventlog::kApplicationLog, source);
}

}  // namespace
}  // namespace vorlan
