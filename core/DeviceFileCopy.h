#pragma once
// Whole-file copies between the desktop and the device, for the device's
// component index.
#include <windows.h>

#include <string>

namespace vorlan {

// Copies source to destination, from the desktop to the device (toDevice)
// or back. The destination is replaced only once every byte was read and
// written; until then, and after any failure, it keeps what it held. On
// either side, a file found missing while its old content lies set aside
// (a replacement cut off part-way) gets that content back first. S_OK,
// or the failure (HRESULT of the Win32 error) of the step that failed.
HRESULT CopyDeviceFile(const std::string& source, const std::string& destination, bool toDevice);

// Whether a copy failed only because the source does not exist.
bool IsNotFound(HRESULT hr);

}  // namespace vorlan
