#pragma once
// Data types of Windows CE that the desktop's remote API and the device's
// own libraries share.
#include <windows.h>

typedef DWORD CEOID;
typedef CEOID* PCEOID;

// The device's object store: its size and free room in bytes.
struct STORE_INFORMATION {
    DWORD dwStoreSize;
    DWORD dwFreeSize;
};
typedef STORE_INFORMATION* LPSTORE_INFORMATION;

// What an object identifier names (CeOidGetInfo), for files and folders.
#define OBJTYPE_INVALID 0
#define OBJTYPE_FILE 1
#define OBJTYPE_DIRECTORY 2
struct CEFILEINFO {
    DWORD dwAttributes;
    CEOID oidParent;
    WCHAR szFileName[MAX_PATH];
    FILETIME ftLastChanged;
    DWORD dwLength;
};
struct CEDIRINFO {
    DWORD dwAttributes;
    CEOID oidParent;
    WCHAR szDirName[MAX_PATH];
};
struct CEOIDINFO {
    WORD wObjType;
    WORD wPad;
    union {
        CEFILEINFO infFile;
        CEDIRINFO infDirectory;
    };
};
