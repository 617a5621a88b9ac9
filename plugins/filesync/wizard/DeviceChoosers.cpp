#include "DeviceChoosers.h"

#include <windows.h>

#include <string>

#include "ComModule.h"

namespace vorlan::filesync {
namespace {

using Chooser = int(__stdcall*)(char*, int, int, const char*, const char*, const char*);

// Mirelda.dll from the plug-in's folder, kept once loaded (it keeps its
// table of device folders for the process's life anyway).
HMODULE Mirelda() {
    static HMODULE loaded = nullptr;
    if (!loaded) {
        std::wstring path = com::ComModule::Instance().Path();
        path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"Mirelda.dll";
        loaded = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    return loaded;
}

Chooser Export(const char* name) {
    HMODULE module = Mirelda();
    return module ? reinterpret_cast<Chooser>(GetProcAddress(module, name)) : nullptr;
}

}  // namespace

int BrowseDeviceFile(char* outPath, int outSize, const char* initialPath) {
    // RapiFileBrowse (outPath, outSize, connect, initialPath, filter, title).
    Chooser browse = Export("RapiFileBrowse");
    return browse ? browse(outPath, outSize, 1, initialPath, nullptr, nullptr) : -1;
}

int BrowseDeviceFolder(char* outPath, int outSize, const char* initialFolder) {
    // RapiFolderBrowse (outPath, outSize, connect, rootPath, title, initialFolder).
    Chooser browse = Export("RapiFolderBrowse");
    return browse ? browse(outPath, outSize, 1, nullptr, nullptr, initialFolder) : -1;
}

}  // namespace vorlan::filesync
