#pragma once
// Resource ids of the remote browsers.

#ifndef IDC_STATIC
#define IDC_STATIC -1
#endif

#define IDS_COLUMN_NAME 102
#define IDS_COLUMN_SIZE 104
#define IDS_COLUMN_MODIFIED 105
#define IDS_COLUMN_TYPE 106
#define IDS_BROWSE_TITLE 107
#define IDS_FOLDER_TITLE 108
#define IDS_NO_DEVICE 109
#define IDS_CONFIRM_DELETE 110
#define IDS_DELETE_CAPTION 111
#define IDS_DELETE_FAILED 112
#define IDS_SELECT_FIRST 113

#define IDI_FOLDER_CLOSED 1006
#define IDI_FOLDER_OPEN 1007

#define IDD_FILE_BROWSER 1008
#define IDD_FOLDER_BROWSER 1009
#define IDD_NEW_FOLDER 1014

// The file browser.
#define IDC_FILE_LIST 1001
#define IDC_OPEN 1009
#define IDC_LOOK_IN 1017
#define IDC_UP 1018
#define IDC_NEW_FOLDER 1019
#define IDC_DELETE 1020

// The folder browser.
#define IDC_FOLDER_TREE 1000
#define IDC_FOLDER_NAME 1001

// The new-folder dialog.
#define IDC_NEW_FOLDER_NAME 1000
