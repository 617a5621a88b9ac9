#include "DeletePrompt.h"

#include "MessageBox.h"
#include "Resource.h"
#include "Resources.h"

namespace vorlan {

std::string FormatWithName(UINT stringId, const std::string& name) {
    const std::string pattern = LoadResourceString(stringId);
    DWORD_PTR arguments[] = {reinterpret_cast<DWORD_PTR>(name.c_str())};
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY | FORMAT_MESSAGE_ALLOCATE_BUFFER, pattern.c_str(),
        0, 0, reinterpret_cast<char*>(&text), 0, reinterpret_cast<va_list*>(arguments));
    if (length == 0 || !text) return pattern;
    std::string result(text, length);
    LocalFree(text);
    return result;
}

void ShowSelectFirst(HWND owner) {
    ShowMessageBox(owner, LoadResourceString(IDS_SELECT_FIRST), LoadResourceString(IDS_DELETE_CAPTION),
                   MB_OK | MB_ICONERROR);
}

bool ConfirmAndDelete(HWND owner, const std::string& name, const std::function<bool()>& remove) {
    const std::string caption = LoadResourceString(IDS_DELETE_CAPTION);
    if (ShowMessageBox(owner, FormatWithName(IDS_CONFIRM_DELETE, name), caption, MB_YESNO | MB_ICONQUESTION) !=
        IDYES)
        return false;
    if (remove()) return true;
    ShowMessageBox(owner, FormatWithName(IDS_DELETE_FAILED, name), caption, MB_OK | MB_ICONERROR);
    return false;
}

}  // namespace vorlan
