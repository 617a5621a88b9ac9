#include "CeRapiWrapper.h"

#include <string>

namespace vorlan {

namespace {

// The desktop's CreateProcessW may write into its command line, which the
// device's form takes as constant: it gets a copy.
BOOL WINAPI DesktopCreateProcess(LPCWSTR application, LPCWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                                 LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                                 LPVOID environment, LPWSTR currentDirectory, LPSTARTUPINFOW startupInfo,
                                 LPPROCESS_INFORMATION processInformation) {
    std::wstring line = commandLine ? commandLine : L"";
    return ::CreateProcessW(application, commandLine ? line.data() : nullptr, processAttributes, threadAttributes,
                            inheritHandles, creationFlags, environment, currentDirectory, startupInfo,
                            processInformation);
}

}  // namespace

CQvCERapiWrapper::CQvCERapiWrapper(BOOL bDevice) : m_bDevice(bDevice ? TRUE : FALSE) {
    if (m_bDevice) {
        FindClose = CeFindClose;
        GetFileAttributes = CeGetFileAttributes;
        SetFileAttributes = CeSetFileAttributes;
        CreateFile = CeCreateFile;
        ReadFile = CeReadFile;
        WriteFile = CeWriteFile;
        CloseHandle = CeCloseHandle;
        GetLastError = CeGetLastError;
        SetFilePointer = CeSetFilePointer;
        SetEndOfFile = CeSetEndOfFile;
        CreateDirectory = CeCreateDirectory;
        RemoveDirectory = CeRemoveDirectory;
        CreateProcess = CeCreateProcess;
        MoveFile = CeMoveFile;
        CopyFile = CeCopyFile;
        DeleteFile = CeDeleteFile;
        GetFileSize = CeGetFileSize;
        RegOpenKeyEx = CeRegOpenKeyEx;
        RegEnumKeyEx = CeRegEnumKeyEx;
        RegCreateKeyEx = CeRegCreateKeyEx;
        RegCloseKey = CeRegCloseKey;
        RegDeleteKey = CeRegDeleteKey;
        RegEnumValue = CeRegEnumValue;
        RegDeleteValue = CeRegDeleteValue;
        RegQueryInfoKey = CeRegQueryInfoKey;
        RegQueryValueEx = CeRegQueryValueEx;
        RegSetValueEx = CeRegSetValueEx;
        GetSystemMetrics = CeGetSystemMetrics;
        GetSystemInfo = CeGetSystemInfo;
        GetFileTime = CeGetFileTime;
        SetFileTime = CeSetFileTime;
        GetWindow = CeGetWindow;
        GetWindowLong = CeGetWindowLong;
        GetWindowText = CeGetWindowText;
        GetClassName = CeGetClassName;
        GlobalMemoryStatus = CeGlobalMemoryStatus;
        GetTempPath = CeGetTempPath;
    } else {
        FindClose = ::FindClose;
        GetFileAttributes = ::GetFileAttributesW;
        SetFileAttributes = ::SetFileAttributesW;
        CreateFile = ::CreateFileW;
        ReadFile = ::ReadFile;
        WriteFile = ::WriteFile;
        CloseHandle = ::CloseHandle;
        GetLastError = ::GetLastError;
        SetFilePointer = ::SetFilePointer;
        SetEndOfFile = ::SetEndOfFile;
        CreateDirectory = ::CreateDirectoryW;
        RemoveDirectory = ::RemoveDirectoryW;
        CreateProcess = DesktopCreateProcess;
        MoveFile = ::MoveFileW;
        CopyFile = ::CopyFileW;
        DeleteFile = ::DeleteFileW;
        GetFileSize = ::GetFileSize;
        RegOpenKeyEx = ::RegOpenKeyExW;
        RegEnumKeyEx = ::RegEnumKeyExW;
        RegCreateKeyEx = ::RegCreateKeyExW;
        RegCloseKey = ::RegCloseKey;
        RegDeleteKey = ::RegDeleteKeyW;
        RegEnumValue = ::RegEnumValueW;
        RegDeleteValue = ::RegDeleteValueW;
        RegQueryInfoKey = ::RegQueryInfoKeyW;
        RegQueryValueEx = ::RegQueryValueExW;
        RegSetValueEx = ::RegSetValueExW;
        GetSystemMetrics = ::GetSystemMetrics;
        GetSystemInfo = ::GetSystemInfo;
        GetFileTime = ::GetFileTime;
        SetFileTime = ::SetFileTime;
        GetWindow = ::GetWindow;
        GetWindowLong = ::GetWindowLongW;
        GetWindowText = ::GetWindowTextW;
        GetClassName = ::GetClassNameW;
        GlobalMemoryStatus = ::GlobalMemoryStatus;
        GetTempPath = ::GetTempPathW;
    }
}

}  // namespace vorlan
