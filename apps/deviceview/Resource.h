#pragma once
// Yarrowin's resources.
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDS_NO_DEVICE 102
#define IDS_CAPTION 103
#define IDR_PAGE 104
#define IDR_MAINFRAME 128
#define IDC_VERSION 1000
