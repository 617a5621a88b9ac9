#pragma once
// The shell's auto-completion of file system paths and URLs in an edit
// control, as the user types.
#include <windows.h>

namespace vorlan {

// SHAutoComplete with its default sources; its result. The calling thread
// must have COM initialised (any dialog's thread does in a COM host).
HRESULT EnableShellAutoComplete(HWND edit);

}  // namespace vorlan
