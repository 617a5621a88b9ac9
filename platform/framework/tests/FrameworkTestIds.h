#pragma once
// Resource ids shared by the framework test and its resource library.
#define IDD_TEST 100
#define IDC_NAME 1001
#define IDC_COUNT 1002
#define IDC_ENABLED 1003
#define IDC_LIST 1004
#define IDC_KIND 1005
#define IDC_SPEED_SLOW 1006
#define IDC_SPEED_FAST 1007
#define IDC_SPEED_NONE 1008
#define IDS_WHOSE 1
