#pragma once
// Resource identifiers of the program and message plug-in.

#define IDI_WENDRIC 201
#define IDD_PROGRAM_ITEM 202

#define IDC_OPERATION 201
#define IDC_IDENTIFIER 202
#define IDC_HELP_TEXT 204
#define IDC_IDENTIFIER_LABEL 205
#define IDC_BROWSE 239

#define IDS_READABLE_NAME 103
#define IDS_DESCRIPTION 104
#define IDS_TIP_OPERATION 105
#define IDS_TIP_IDENTIFIER 106
// Help texts (107 + action) and identifier labels (112 + action).
#define IDS_HELP_FIRST 107
#define IDS_FIELDS_EMPTY 111
#define IDS_LABEL_FIRST 112
