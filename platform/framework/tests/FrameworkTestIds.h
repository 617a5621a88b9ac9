#pragma once
// Resource ids shared by the framework test and its resource library.
#define IDD_TEST 100
#define IDC_NAME 1001
#define IDC_COUNT 1002
#define IDC_ENABLED 1003
#define IDC_LIST 1004
#define IDS_WHOSE 1
