// A library with resources of its own: its exports enter its module first,
// as every exported function of the system does.
#include <windows.h>

#include <cstring>

#include "Dialog.h"
#include "FrameworkTestIds.h"
#include "ModuleState.h"
#include "Resources.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

void Copy(const std::string& text, char* out, int size) {
    if (size <= 0) return;
    std::strncpy(out, text.c_str(), static_cast<size_t>(size) - 1);
    out[size - 1] = '\0';
}

}  // namespace

// The caption of the dialog IDD_TEST and the string IDS_WHOSE as this
// library's exports see them.
extern "C" __declspec(dllexport) BOOL LibraryResources(char* caption, char* text, int size) {
    vorlan::ModuleStateGuard module(reinterpret_cast<HINSTANCE>(&__ImageBase));
    vorlan::CDialog dialog(IDD_TEST);
    if (!dialog.Create()) return FALSE;
    Copy(dialog.GetWindowText(), caption, size);
    Copy(vorlan::LoadResourceString(IDS_WHOSE), text, size);
    return TRUE;
}
