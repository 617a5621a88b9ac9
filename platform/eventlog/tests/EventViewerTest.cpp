#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "EventSource.h"
#include "EventViewerDialog.h"
#include "TestLog.h"
#include "TestSupport.h"
#include "ViewerIds.h"
#include "VorlanMessages.h"

namespace vorlan::eventlog {
namespace {

using testing::ListViewText;
using testing::WindowText;

TEST(EventViewerTest, ListsRecordsNewestFirstWithTheirTexts) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    TestLog log("viewer");
    auto source = EventSource::Open(log.Source());
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(source->Report(EVENTLOG_ERROR_TYPE, 0, EVT_FOLDER_NOT_CREATED, {"\\Windows\\New"}));
    ASSERT_TRUE(source->Report(EVENTLOG_WARNING_TYPE, 0, EVT_DEVICE_NOT_CONNECTED, {}));

    EventViewerDialog viewer(log.Log());
    ASSERT_TRUE(viewer.Create());
    ShowWindow(viewer.m_hWnd, SW_SHOW);
    vorlan::testing::PumpMessages();
    HWND list = viewer.GetDlgItem(IDC_EVENTS);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);

    EXPECT_EQ(ListViewText(list, 0, 0), "Warning") << "newest first";
    EXPECT_EQ(ListViewText(list, 0, 2), log.Source());
    EXPECT_EQ(ListViewText(list, 0, 3), "0xC0020011");
    EXPECT_EQ(ListViewText(list, 1, 0), "Error");
    EXPECT_EQ(ListViewText(list, 1, 3), "0xC0020005");
    EXPECT_EQ(ListViewText(list, 1, 4), "The folder \\Windows\\New cannot be created.");
    EXPECT_EQ(ListViewText(list, 1, 1), viewer.Rows()[1].time);
    EXPECT_EQ(ListViewText(list, 1, 1).size(), 19u) << "date and time as YYYY-MM-DD hh:mm:ss";
    EXPECT_EQ(WindowText(viewer.GetDlgItem(IDC_STATUS)), "2 events");

    // Selecting a row shows the whole record below the list.
    LVITEMA state = {};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    std::string detail = WindowText(viewer.GetDlgItem(IDC_DETAIL));
    EXPECT_NE(detail.find("Source: " + log.Source() + "\r\n"), std::string::npos) << detail;
    EXPECT_NE(detail.find("Event ID: 0xC0020005\r\n"), std::string::npos) << detail;
    EXPECT_NE(detail.find("Process: " + std::to_string(GetCurrentProcessId())), std::string::npos) << detail;
    EXPECT_NE(detail.find("\r\n\r\nThe folder \\Windows\\New cannot be created."), std::string::npos) << detail;

    // The Refresh button brings in what was written meanwhile.
    ASSERT_TRUE(source->Report(EVENTLOG_ERROR_TYPE, 0, EVT_FILE_LOCKED, {"C:\\busy.txt"}));
    SendMessageA(viewer.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, BN_CLICKED),
                 reinterpret_cast<LPARAM>(viewer.GetDlgItem(IDC_REFRESH)));
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(ListViewText(list, 0, 4), "C:\\busy.txt is locked by another program.");

    // Resizing keeps the list and the text inside the window.
    SetWindowPos(viewer.m_hWnd, nullptr, 0, 0, 900, 600, SWP_NOMOVE | SWP_NOZORDER);
    RECT client, detailRect;
    GetClientRect(viewer.m_hWnd, &client);
    GetWindowRect(viewer.GetDlgItem(IDC_DETAIL), &detailRect);
    MapWindowPoints(nullptr, viewer.m_hWnd, reinterpret_cast<POINT*>(&detailRect), 2);
    EXPECT_LT(detailRect.right, client.right);
    EXPECT_GT(detailRect.right, client.right - 40);

    SendMessageA(viewer.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(viewer.m_hWnd, nullptr) << "Close ends the viewer";
}

TEST(EventViewerTest, AnEmptyOrMissingStore) {
    TestLog log("empty");
    EventViewerDialog viewer(log.Log());
    ASSERT_TRUE(viewer.Create());
    EXPECT_EQ(SendMessageA(viewer.GetDlgItem(IDC_EVENTS), LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(WindowText(viewer.GetDlgItem(IDC_STATUS)), "0 events");
    EXPECT_EQ(WindowText(viewer.GetDlgItem(IDC_DETAIL)), "");
}

}  // namespace
}  // namespace vorlan::eventlog
