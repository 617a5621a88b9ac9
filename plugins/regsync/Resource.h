#pragma once
// Resource identifiers of the registry plug-in.

#define IDI_TOLVANE 5
#define IDD_REGISTRY_ITEM 202

#define IDC_TYPE 201
#define IDC_DESCRIPTION 202
#define IDC_KEY 203
#define IDC_VALUE 204
#define IDC_LOCAL 205

#define IDS_READABLE_NAME 103
#define IDS_DESCRIPTION 104
// Help texts of the operations.
#define IDS_HELP_BINARY 105
#define IDS_HELP_DWORD 106
#define IDS_HELP_STRING 107
#define IDS_HELP_EXPAND_STRING 108
#define IDS_HELP_DELETE_KEY 109
#define IDS_HELP_DELETE_VALUE 110
#define IDS_HELP_MULTI_STRING 116
#define IDS_TIP_TYPE 111
#define IDS_TIP_KEY 112
#define IDS_TIP_VALUE 113
#define IDS_TIP_LOCAL 114
#define IDS_FIELDS_EMPTY 115
