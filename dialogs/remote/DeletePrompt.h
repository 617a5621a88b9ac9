#pragma once
// The questions and refusals both browsers show when deleting on the device.
#include <windows.h>

#include <functional>
#include <string>

namespace vorlan {

// A string resource with "%1" replaced by name (message formatting).
std::string FormatWithName(UINT stringId, const std::string& name);

// Tells the user to select something first (error icon), owned by owner.
void ShowSelectFirst(HWND owner);

// Asks whether to delete name; on Yes runs remove, and when it fails says
// the entry could not be deleted. True only when remove succeeded.
bool ConfirmAndDelete(HWND owner, const std::string& name, const std::function<bool()>& remove);

}  // namespace vorlan
