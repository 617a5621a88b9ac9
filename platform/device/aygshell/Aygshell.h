#pragma once
// Notification bubbles of the device's shell (aygshell.dll).
#include <windows.h>

#ifdef VORLAN_AYGSHELL_BUILD
#define AYGSHELL_API extern "C"
#else
#define AYGSHELL_API extern "C" __declspec(dllimport)
#endif

enum SHNP {
    SHNP_INFORM = 0x1B1,  // a bubble shown at once
    SHNP_ICONIC = 0,      // an icon only
};

struct SHNOTIFICATIONDATA {
    DWORD cbStruct;  // sizeof(SHNOTIFICATIONDATA)
    DWORD dwID;
    SHNP npPriority;
    DWORD csDuration;  // seconds the bubble stays
    HICON hicon;
    DWORD grfFlags;
    CLSID clsid;
    HWND hwndSink;
    LPCWSTR pszHTML;
    LPCWSTR pszTitle;
    LPARAM lParam;
};

// Bits of SHNotificationUpdate's mask.
#define SHNUM_PRIORITY 0x0001
#define SHNUM_DURATION 0x0002
#define SHNUM_ICON 0x0004
#define SHNUM_HTML 0x0008
#define SHNUM_TITLE 0x0010

AYGSHELL_API LRESULT WINAPI SHNotificationAdd(SHNOTIFICATIONDATA* pndAdd);
AYGSHELL_API LRESULT WINAPI SHNotificationUpdate(DWORD grnumUpdateMask, SHNOTIFICATIONDATA* pndNew);
AYGSHELL_API LRESULT WINAPI SHNotificationRemove(const CLSID* pclsid, DWORD dwID);
