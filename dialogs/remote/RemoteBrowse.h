#pragma once
// Mirelda's exports: modal dialogs that choose a file or a folder on the
// connected device. Plug-ins link the import library (target Mirelda).
//
// connect non-zero: the call opens its own device session for the dialog
// (and says so in a message box when the device does not answer). A null
// or empty initialPath, filter, title, rootPath or initialFolder means "not
// given". With the user's or machine's setting
// \SOFTWARE\Dravenhall\Common\Mirelda\TranslatePath non-zero (the default)
// symbolic folders ("%CE_PROGRAMFILES%\App") in the initial path are
// expanded, and the leading known folder of the result is written back as
// its symbolic name.
//
// Result: 1 (IDOK) with the path in outPath; 2 (IDCANCEL) when the user
// cancelled, no device answered, or the path does not fit outSize bytes
// with its terminator; outPath is then untouched.
#include <windows.h>

extern "C" {

int __stdcall RapiFileBrowse(char* outPath, int outSize, int connect, const char* initialPath, const char* filter,
                             const char* title);

int __stdcall RapiFolderBrowse(char* outPath, int outSize, int connect, const char* rootPath, const char* title,
                               const char* initialFolder);

}
