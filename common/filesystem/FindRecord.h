#pragma once
// Device listing records in the desktop's ANSI form.
#include <windows.h>

#include "CeRapi.h"

namespace vorlan {

// Copies attributes, the three times, both size words and the name (in the
// ANSI code page, terminated); the reserved words are 0 and the device's
// object identifier is dropped. A name that has no exact ANSI form, or whose
// form does not fit cFileName, gives false with *error set
// (ERROR_NO_UNICODE_TRANSLATION, ERROR_FILENAME_EXCED_RANGE): a changed or
// cut name would name another file.
bool AnsiFindRecord(const CE_FIND_DATA& in, WIN32_FIND_DATAA& out, DWORD* error);

}  // namespace vorlan
