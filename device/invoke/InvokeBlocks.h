#pragma once
// The blocks the desktop sends to the invoke exports, checked against
// their layouts before anything in them is read: a block that is short, or
// whose fixed text field holds no terminator, is refused.
#include <windows.h>

#include <cstddef>

#include "CrcBlocks.h"

namespace vorlan::ostrum {

using devicefs::kCrcRecordSize;
using devicefs::kCrcRequestSize;
// Message record: WCHAR text[4096] at 0, WCHAR caption[510] at 8192,
// DWORD type at 9212, DWORD duration at 9216.
constexpr size_t kMessageRecordSize = 9220;

struct CrcRequest {
    const wchar_t* path;
    BOOL quick;
};
struct CrcRecord {
    const wchar_t* path;
    DWORD crc;
};
struct MessageRecord {
    const wchar_t* text;
    const wchar_t* caption;
    DWORD type;
    DWORD duration;
};

bool ReadCrcRequest(DWORD size, const BYTE* block, CrcRequest& out);
bool ReadCrcRecord(DWORD size, const BYTE* block, CrcRecord& out);
bool ReadMessageRecord(DWORD size, const BYTE* block, MessageRecord& out);
// A block that is one zero-terminated text (a path or a window title).
bool ReadText(DWORD size, const BYTE* block, const wchar_t*& text);

// The export's answer: a LocalAlloc block of one or two words. E_OUTOFMEMORY
// (and no block) when it cannot be allocated.
HRESULT Answer(DWORD* outputSize, BYTE** output, DWORD word);
HRESULT Answer(DWORD* outputSize, BYTE** output, DWORD first, DWORD second);

}  // namespace vorlan::ostrum
