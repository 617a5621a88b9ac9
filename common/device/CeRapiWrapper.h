#pragma once
// One table of file, registry, window and system functions for either side
// of the connection: filled with the remote API's Ce* functions for the
// device, or with the desktop's wide functions, so that one piece of code
// works on both. Text is UTF-16 on both sides; the device entries need an
// open device session.
//
// The entries carry the functions' own names. Where <windows.h> maps a
// name to its ANSI or wide form (CreateFile to CreateFileA), the member is
// renamed the same way in every file that sees it, so calls such as
// table.CreateFile(...) reach the entry whatever the name became.
#include <windows.h>

#include "CeRapi.h"

namespace vorlan {

class CQvCERapiWrapper {
public:
    // Any non-zero flag stands for the device.
    explicit CQvCERapiWrapper(BOOL bDevice);

    BOOL IsDevice() const { return m_bDevice; }

    // The entries, in this order, with the device's signatures.
    decltype(&CeFindClose) FindClose;
    decltype(&CeGetFileAttributes) GetFileAttributes;
    decltype(&CeSetFileAttributes) SetFileAttributes;
    decltype(&CeCreateFile) CreateFile;
    decltype(&CeReadFile) ReadFile;
    decltype(&CeWriteFile) WriteFile;
    decltype(&CeCloseHandle) CloseHandle;
    decltype(&CeGetLastError) GetLastError;
    decltype(&CeSetFilePointer) SetFilePointer;
    decltype(&CeSetEndOfFile) SetEndOfFile;
    decltype(&CeCreateDirectory) CreateDirectory;
    decltype(&CeRemoveDirectory) RemoveDirectory;
    decltype(&CeCreateProcess) CreateProcess;
    decltype(&CeMoveFile) MoveFile;
    decltype(&CeCopyFile) CopyFile;
    decltype(&CeDeleteFile) DeleteFile;
    decltype(&CeGetFileSize) GetFileSize;
    decltype(&CeRegOpenKeyEx) RegOpenKeyEx;
    decltype(&CeRegEnumKeyEx) RegEnumKeyEx;
    decltype(&CeRegCreateKeyEx) RegCreateKeyEx;
    decltype(&CeRegCloseKey) RegCloseKey;
    decltype(&CeRegDeleteKey) RegDeleteKey;
    decltype(&CeRegEnumValue) RegEnumValue;
    decltype(&CeRegDeleteValue) RegDeleteValue;
    decltype(&CeRegQueryInfoKey) RegQueryInfoKey;
    decltype(&CeRegQueryValueEx) RegQueryValueEx;
    decltype(&CeRegSetValueEx) RegSetValueEx;
    decltype(&CeGetSystemMetrics) GetSystemMetrics;
    decltype(&CeGetSystemInfo) GetSystemInfo;
    decltype(&CeGetFileTime) GetFileTime;
    decltype(&CeSetFileTime) SetFileTime;
    decltype(&CeGetWindow) GetWindow;
    decltype(&CeGetWindowLong) GetWindowLong;
    decltype(&CeGetWindowText) GetWindowText;
    decltype(&CeGetClassName) GetClassName;
    decltype(&CeGlobalMemoryStatus) GlobalMemoryStatus;
    decltype(&CeGetTempPath) GetTempPath;

    BOOL m_bDevice;
};

}  // namespace vorlan
