#pragma once
// The device connection: frames, roles and operation codes shared by the
// desktop's remote API library and the device emulator. docs/device.md
// describes every frame.
#include <cstddef>
#include <cstdint>

namespace vorlan::device {

// Every frame is a 32-bit little-endian body size followed by the body.
// A request body starts with its operation code, a response body with its
// status; both are followed by the operation's fields.
constexpr size_t kFrameHeader = 4;
// Data of a single read or write request; larger transfers are split.
constexpr size_t kDataChunk = 1u << 20;
constexpr size_t kMaxFrameBody = 4 * kDataChunk + 4096;

constexpr uint32_t kHelloMagic = 0x4E4C5256;  // "VRLN"
constexpr uint32_t kProtocolVersion = 1;
constexpr size_t kSecretSize = 32;
constexpr size_t kSessionTokenSize = 16;

enum class Role : uint32_t {
    Rapi = 0,     // a desktop program's remote API calls
    Control = 1,  // a test driving the emulator itself
};

enum class Status : uint32_t {
    Ok = 0,
    UnknownOperation = 1,
    Malformed = 2,
    NotAllowed = 3,  // the operation does not belong to the connection's role
};

enum class Op : uint32_t {
    Hello = 1,
    // Asked right after the greeting: move the connection to a shared-memory ring.
    OpenRing = 2,

    CreateFile = 0x10,
    ReadFile,
    WriteFile,
    CloseHandle,
    GetFileSize,
    SetFilePointer,
    SetEndOfFile,
    GetFileTime,
    SetFileTime,
    GetFileAttributes,
    SetFileAttributes,
    CreateDirectory,
    RemoveDirectory,
    DeleteFile,
    MoveFile,
    CopyFile,
    FindFirstFile,
    FindNextFile,
    FindClose,
    FindAllFiles,

    RegOpenKeyEx = 0x40,
    RegCreateKeyEx,
    RegCloseKey,
    RegDeleteKey,
    RegDeleteValue,
    RegQueryValueEx,
    RegSetValueEx,
    RegEnumKeyEx,
    RegEnumValue,
    RegQueryInfoKey,

    GetSystemInfo = 0x60,
    GetVersionEx,
    GlobalMemoryStatus,
    GetStoreInformation,
    GetSpecialFolderPath,
    GetTempPath,
    GetSystemMetrics,
    OidGetInfo,

    CreateProcess = 0x80,
    GetWindow,
    GetWindowLong,
    GetWindowText,
    GetClassName,
    SHCreateShortcut,
    Invoke,

    // Test control.
    ReadJournal = 0x100,
    HoldFile,
    ReleaseFile,
    SetUnreadable,
    Disconnect,
    Reconnect,
    QueueMessageBoxAnswer,
    Shutdown,
    Connections,
    RootCheckTime,
};

// Size of the device's find record (attributes, three times, two size
// words, object identifier, 260 name characters).
constexpr size_t kCeFindDataSize = 560;

}  // namespace vorlan::device

#include "Wire.h"

namespace vorlan::device {

// Starts a frame in an empty writer: room for the body size, then the
// leading word (operation or status).
inline void BeginFrame(WireWriter& w, uint32_t leading) {
    w.U32(0);
    w.U32(leading);
}

// Fills in the body size; the writer then holds the whole frame.
inline void FinishFrame(WireWriter& w) {
    uint32_t body = static_cast<uint32_t>(w.Size() - kFrameHeader);
    uint8_t* p = w.Buffer().data();
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(body >> (8 * i));
}

}  // namespace vorlan::device
