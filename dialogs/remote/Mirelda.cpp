// Mirelda: the remote file and folder browsers behind the plug-ins' item
// dialogs, as two exports.
#include <windows.h>

#include <cstring>
#include <string>

#include "Bstr.h"
#include "CeRapi.h"
#include "DevicePathTranslation.h"
#include "DeviceSession.h"
#include "ItemPaths.h"
#include "MessageBox.h"
#include "ModuleState.h"
#include "RemoteBrowse.h"
#include "RemoteFileSystemBrowser.h"
#include "RemoteFolderSystemBrowser.h"
#include "Resource.h"
#include "Resources.h"
#include "WinApp.h"

namespace vorlan {

// Runs only the framework's own set-up; the exports do the work.
class CMireldaApp : public CWinApp {
public:
    CMireldaApp() : CWinApp("Mirelda") {}
};

namespace {

CMireldaApp theApp;

std::string Given(const char* text) { return text ? std::string(text) : std::string(); }

// The device session of one browse: opened when the caller asks, told to
// the user when the device does not answer, and ended with the browse.
bool OpenSessionFor(DeviceSession& session, int connect) {
    if (!connect) return true;
    if (SUCCEEDED(session.Open(kDeviceWaitMs))) return true;
    ShowMessageBox(nullptr, LoadResourceString(IDS_NO_DEVICE), theApp.m_pszAppName, MB_OK);
    return false;
}

// Writes the chosen path back, symbolic when the setting says so; IDCANCEL
// when it does not fit, with outPath untouched.
int ReturnPath(std::string path, bool translate, char* outPath, int outSize) {
    if (!outPath || outSize <= 0) return IDCANCEL;
    const size_t size = static_cast<size_t>(outSize);
    if (translate) ReadSymbolicFolderTable().ToSymbolic(path, size);
    if (path.size() + 1 > size) return IDCANCEL;
    std::memcpy(outPath, path.c_str(), path.size() + 1);
    return IDOK;
}

std::string RealPath(const std::string& path, bool translate) {
    if (!translate) return path;
    std::string real;
    return ToRealDevicePath(path, real) ? real : std::string();
}

}  // namespace

}  // namespace vorlan

using namespace vorlan;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        theApp.m_hInstance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" int __stdcall RapiFileBrowse(char* outPath, int outSize, int connect, const char* initialPath,
                                        const char* filter, const char* title) {
    ModuleStateGuard module(theApp.m_hInstance);
    const bool translate = TranslatePathSetting();
    DeviceSession session;
    if (!OpenSessionFor(session, connect)) return IDCANCEL;

    CRemoteFileSystemBrowser dialog;
    const std::string initial = RealPath(Given(initialPath), translate);
    if (!initial.empty()) {
        const BrowseStart start = StartOfBrowse(initial, CeGetFileAttributes(com::WideFromAnsi(initial).c_str()));
        dialog.m_folder = start.folder;
        dialog.m_selectName = start.selectName;
    }
    dialog.m_pattern = Given(filter).empty() ? std::string("*.*") : Given(filter);
    dialog.m_title = Given(title).empty() ? LoadResourceString(IDS_BROWSE_TITLE) : Given(title);
    if (dialog.DoModal(GetActiveWindow()) != IDOK) return IDCANCEL;
    return ReturnPath(dialog.ChosenPath(), translate, outPath, outSize);
}

extern "C" int __stdcall RapiFolderBrowse(char* outPath, int outSize, int connect, const char* rootPath,
                                          const char* title, const char* initialFolder) {
    ModuleStateGuard module(theApp.m_hInstance);
    CRemoteFolderSystemBrowser dialog;
    dialog.m_root = Given(rootPath).empty() ? std::string("\\") : Given(rootPath);
    dialog.m_title = Given(title).empty() ? LoadResourceString(IDS_FOLDER_TITLE) : Given(title);
    DeviceSession session;
    if (!OpenSessionFor(session, connect)) return IDCANCEL;
    const bool translate = TranslatePathSetting();
    if (!Given(initialFolder).empty()) dialog.m_startFolder = RealPath(initialFolder, translate);
    if (dialog.DoModal(GetActiveWindow()) != IDOK) return IDCANCEL;
    return ReturnPath(dialog.m_chosen, translate, outPath, outSize);
}
