#pragma once
// Resource identifiers of the event viewer.
#define IDD_EVENTVIEWER 100
#define IDC_EVENTS 1001
#define IDC_DETAIL 1002
#define IDC_REFRESH 1003
#define IDC_STATUS 1004
