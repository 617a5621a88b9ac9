#pragma once
// The record that Shell_NotifyIcon hands to the notification area window
// ("Shell_TrayWnd") in WM_COPYDATA, as the shell of this platform sends it
// (observed): the command in dwData, then a fixed block of
//
//   offset size  field
//   0      4     window of the icon (32-bit handle value)
//   4      4     icon identifier
//   8      4     NIF_ flags
//   12     4     callback message
//   16     256   tip, 128 UTF-16 characters
//   272    8     state, state mask
//   280    512   balloon text, 256 UTF-16 characters
//   792    4     balloon time-out (ms)
//   796    128   balloon title, 64 UTF-16 characters
//   924    4     NIIF_ flags
//   928    16    GUID
//
// followed by the icon's bitmaps when one is given.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace vorlan::activesync {

struct NotifyRecord {
    uint32_t window = 0;
    uint32_t id = 0;
    uint32_t flags = 0;
    std::wstring tip;
    std::wstring info;
    uint32_t timeout = 0;
    std::wstring infoTitle;
    uint32_t infoFlags = 0;
};

inline constexpr size_t kNotifyRecordSize = 944;

// False when the block is too short to be such a record.
bool DecodeNotifyRecord(std::string_view bytes, NotifyRecord& record);

}  // namespace vorlan::activesync
