#pragma once
// Steps the desktop and the device readers share.
#include <windows.h>

#include <cstddef>

namespace vorlan::registry_detail {

// What a by-path read leaves when the key cannot be opened.
inline void MarkUnopened(BYTE* data, DWORD* type, DWORD* size) {
    if (data && size && *size > 0) data[0] = 0;
    if (size) *size = 0;
    if (type) *type = REG_SZ;
}

// buffer holds bytes of a string value read into capacity characters: the
// text with or without its terminator. Leaves it terminated, or returns
// ERROR_MORE_DATA when the terminator has no room.
template <class Char>
LONG TerminateText(Char* buffer, DWORD bytes, size_t capacity) {
    size_t chars = bytes / sizeof(Char);
    if (chars > 0 && buffer[chars - 1] == Char(0)) return ERROR_SUCCESS;
    if (chars >= capacity) return ERROR_MORE_DATA;
    buffer[chars] = Char(0);
    return ERROR_SUCCESS;
}

}  // namespace vorlan::registry_detail
