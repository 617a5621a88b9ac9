#pragma once
// The answers to each operation (see Server.h for how they are called).
#include <string>

#include "Server.h"

namespace vorlan::device {

// A text field of a request, as the device functions take it: null when
// the desktop passed none.
class Text16 {
public:
    explicit Text16(WireReader& in) : text_(in.Text(&null_)) {}
    operator LPCWSTR() const { return null_ ? nullptr : reinterpret_cast<LPCWSTR>(text_.c_str()); }
    LPWSTR Mutable() { return null_ ? nullptr : reinterpret_cast<LPWSTR>(text_.data()); }
    const std::u16string& Value() const { return text_; }
    bool IsNull() const { return null_; }

private:
    bool null_ = false;
    std::u16string text_;
};

#define VORLAN_RAPI_HANDLERS(X)                                                                                  \
    X(CreateFile) X(ReadFile) X(WriteFile) X(CloseHandle) X(GetFileSize) X(SetFilePointer) X(SetEndOfFile)       \
    X(GetFileTime) X(SetFileTime) X(GetFileAttributes) X(SetFileAttributes) X(CreateDirectory) X(RemoveDirectory) \
    X(DeleteFile) X(MoveFile) X(CopyFile) X(FindFirstFile) X(FindNextFile) X(FindClose) X(FindAllFiles)          \
    X(OidGetInfo) X(RegOpenKeyEx) X(RegCreateKeyEx) X(RegCloseKey) X(RegDeleteKey) X(RegDeleteValue)             \
    X(RegQueryValueEx) X(RegSetValueEx) X(RegEnumKeyEx) X(RegEnumValue) X(RegQueryInfoKey) X(GetSystemInfo)      \
    X(GetVersionEx) X(GlobalMemoryStatus) X(GetStoreInformation) X(GetSpecialFolderPath) X(GetTempPath)          \
    X(GetSystemMetrics) X(CreateProcess) X(GetWindow) X(GetWindowLong) X(GetWindowText) X(GetClassName)          \
    X(SHCreateShortcut) X(Invoke)

#define VORLAN_CONTROL_HANDLERS(X) \
    X(ReadJournal) X(HoldFile) X(ReleaseFile) X(SetUnreadable) X(Disconnect) X(Reconnect) X(QueueMessageBoxAnswer) X(Shutdown) \
    X(Connections) X(RootCheckTime)

#define VORLAN_DECLARE_HANDLER(name) void On##name(Request& r);
VORLAN_RAPI_HANDLERS(VORLAN_DECLARE_HANDLER)
VORLAN_CONTROL_HANDLERS(VORLAN_DECLARE_HANDLER)
#undef VORLAN_DECLARE_HANDLER

}  // namespace vorlan::device
