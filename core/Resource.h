#pragma once
// Resource identifiers of the core: its dialogs, their controls, strings
// and icons. The tests drive the dialogs by these numbers.

// Dialogs.
#define IDD_OPTIONS 101
#define IDD_COMPONENT 203

// The options dialog.
#define IDC_PROJECT_URL 1000
#define IDC_BROWSE 1014
#define IDC_SYNC_APP 204
#define IDC_REPORT_AT_ONCE 1001
#define IDC_REPORT_AT_END 1003
#define IDC_LOG_ONLY 1002
#define IDC_CLEAR_CACHE 203

// The component dialog (IDC_BROWSE as above).
#define IDC_COMPONENT_NAME 1005
#define IDC_COMPONENT_TYPE 1006
#define IDC_COMPONENT_DESCRIPTION 1008
#define IDC_COMPONENT_URL 1009
#define IDC_ALWAYS_SYNC 1012
#define IDC_COMPONENT_VERSION 1010
#define IDC_COMPONENT_PATCH 202

// Strings.
#define IDS_CAPTION 103
#define IDS_CORE_DESCRIPTION 104
#define IDS_CORE_NAME 105
#define IDS_TIP_NAME 106
#define IDS_TIP_URL 107
#define IDS_TIP_TYPE 108
#define IDS_TIP_ALWAYS_SYNC 109
#define IDS_TIP_VERSION 110
#define IDS_TIP_PATCH 111
#define IDS_NAME_AND_URL 112
#define IDS_CACHE_NOT_CLEARED 113
#define IDS_DONE 114
#define IDS_NOT_SAVED 115
#define IDS_NO_AUTOSTART 116

// Icons of the component table.
#define IDI_UNSELECTED 150
#define IDI_SELECTED 151
