#pragma once
// Registry values and keys named by path text ("ROOT\key path\value", see
// RegistryPath.h) on whichever side a function table serves, so the same
// calls reach the device's registry and the desktop's. Names are ANSI and
// become UTF-16; data is passed as the registry holds it (strings in
// UTF-16 on both sides). Results are the registry's own, -1 for a path that
// does not split.
#include <windows.h>

#include <string_view>

#include "CeRapiWrapper.h"

namespace vorlan {

// The value's data (at most *size bytes) and type.
LONG QueryValueByPath(const CQvCERapiWrapper& side, std::string_view path, BYTE* data, DWORD* type, DWORD* size);
// Creates the key when needed, then sets the value.
LONG SetValueByPath(const CQvCERapiWrapper& side, std::string_view path, DWORD type, const BYTE* data, DWORD size);
LONG DeleteValueByPath(const CQvCERapiWrapper& side, std::string_view path);
// Deletes the key that the path's last part names ("HKEY_CURRENT_USER\A\B"
// deletes A\B); a key that still has subkeys is the registry's to refuse.
LONG DeleteKeyByPath(const CQvCERapiWrapper& side, std::string_view path);

}  // namespace vorlan
