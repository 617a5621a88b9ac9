#pragma once
// Resource identifiers of the file plug-in (the wizard's strings are in
// logic/FileWizardStrings.h).
#include "FileWizardStrings.h"

#define IDI_FELDANE 201

// The wizard's pages.
#define IDD_FILE_MANAGEMENT 107
#define IDD_FILE_ORIGIN 203
#define IDD_FILE_DESTINATION 204
#define IDD_FILE_SYNC_OPTIONS 205
#define IDD_FOLDER_ORIGIN 206

// The operation page.
#define IDC_OPERATION 243
#define IDC_OPERATION_DESCRIPTION 1008

// The origin pages.
#define IDC_ORIGIN_LABEL 211
#define IDC_ORIGIN 1009
#define IDC_BROWSE_ORIGIN 1014
#define IDC_ASCII 213
#define IDC_BINARY 214
#define IDC_DONT_CACHE 215
#define IDC_SECURE 216
#define IDC_PASSIVE 217
#define IDC_REUSE_CONNECTION 218
#define IDC_IGNORE_CACHE 219
#define IDC_TRANSFER_LABEL 231
#define IDC_TRANSFER_RULE 232
#define IDC_HTTP_LABEL 233
#define IDC_HTTP_RULE 234
#define IDC_FTP_LABEL 235
#define IDC_FTP_RULE 236

// The destination page.
#define IDC_DESTINATION_LABEL 220
#define IDC_DESTINATION 223
#define IDC_BROWSE_DESTINATION 239
#define IDC_TEMPORARY 221
#define IDC_PRESERVE 222
#define IDC_NORMAL 224
#define IDC_READONLY 225
#define IDC_SYSTEM 226
#define IDC_HIDDEN 227
#define IDC_ARCHIVE 228
#define IDC_ATTRIBUTES_LABEL 237
#define IDC_ATTRIBUTES_RULE 238
#define IDC_ATTRIBUTES_PICTURE 250

// The folder page's filter lists.
#define IDC_INCLUDE_LIST 252
#define IDC_INCLUDE_ADD 253
#define IDC_INCLUDE_REMOVE 254
#define IDC_INCLUDE_EDIT 255
#define IDC_INCLUDE_LABEL 256
#define IDC_EXCLUDE_LIST 260
#define IDC_EXCLUDE_ADD 261
#define IDC_EXCLUDE_REMOVE 262
#define IDC_EXCLUDE_EDIT 263
#define IDC_EXCLUDE_LABEL 264
#define IDC_FILTER_HINT 265

// The two-way options page.
#define IDC_NEVER_DELETE 245
#define IDC_CONFLICT_MANUAL 246
#define IDC_CONFLICT_DEVICE 247
#define IDC_CONFLICT_WORKSTATION 248

// The operations' pictures, by choice: 206 to 223.
#define IDB_ATTRIBUTES 250
