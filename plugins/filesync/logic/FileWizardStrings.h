#pragma once
// The file plug-in's string resources that the wizard's decisions name
// (plain defines: the resource script reads them too).

#define IDS_PLUGIN_NAME 100
#define IDS_READABLE_NAME 103
#define IDS_DESCRIPTION 104
#define IDS_ORIGIN_URL_LABEL 105
#define IDS_ORIGIN_FOLDER_RELATIVE_LABEL 106
#define IDS_ORIGIN_FILE_LABEL 107
#define IDS_FILE_TO_DELETE 109
#define IDS_FILE_TO_CREATE 110
#define IDS_FOLDER_TO_CREATE 111
#define IDS_FOLDER_TO_DELETE 112
#define IDS_MALFORMED_PATH 113
#define IDS_DEVICE_FILE_LABEL 127
#define IDS_WORKSTATION_FILE_LABEL 128
#define IDS_ORIGIN_FOLDER_LABEL 130
#define IDS_DESTINATION_FOLDER_LABEL 131
#define IDS_DEVICE_FOLDER_LABEL 134
#define IDS_WORKSTATION_FOLDER_LABEL 135
#define IDS_ALREADY_IN_LIST 137
#define IDS_EMPTY_INCLUDE_LIST 138
#define IDS_FILTER_SEPARATOR 139
// The descriptions of the sixteen operations, in the list's order.
#define IDS_OPERATION_DESCRIPTION_FIRST 140
// The workstation chooser's titles and file filter.
#define IDS_BROWSE_FILE_TITLE 160
#define IDS_BROWSE_FOLDER_TITLE 161
#define IDS_BROWSE_FILE_FILTER 162
#define IDS_NO_DEVICE_BROWSER 163
// The names of the sixteen operations in the wizard's list, in order.
#define IDS_OPERATION_NAME_FIRST 170
