#include "VorlanCfgDlg.h"

#include "AutoComplete.h"
#include "AutoStartCommand.h"
#include "DeviceInvoke.h"
#include "DeviceSession.h"
#include "DialogHelper.h"
#include "ExpandEnvironment.h"
#include "ProviderSwitch.h"
#include "RegistryByPath.h"
#include "Resource.h"
#include "Resources.h"
#include "Settings.h"
#include "TwoWaySyncData.h"
#include "Url.h"
#include "UserOrMachine.h"

namespace vorlan {
namespace {

// Longest project text, with its terminator.
constexpr size_t kProjectChars = MAX_PATH;

// The device's records of two-way files: the device library's answer,
// the first word of its output.
HRESULT ClearDeviceStorage() {
    std::vector<BYTE> output;
    const HRESULT hr = InvokeDeviceLibrary(L"CeClearStorage", nullptr, 0, &output);
    if (FAILED(hr)) return hr;
    if (output.size() < sizeof(DWORD)) return E_FAIL;
    DWORD result = 0;
    memcpy(&result, output.data(), sizeof result);
    return static_cast<HRESULT>(result);
}

// Both caches: the desktop's state file of the device, then the device's
// records, in a session of their own.
HRESULT ClearCaches() {
    HRESULT hr = DeleteTwoWaySyncData();
    if (FAILED(hr)) return hr;
    bool opened = false;
    hr = ConnectDevice(kDeviceWaitMs, &opened);
    if (SUCCEEDED(hr)) hr = ClearDeviceStorage();
    if (opened) DisconnectDevice();
    return hr;
}

bool Written(LONG error) { return error == ERROR_SUCCESS; }

}  // namespace

BEGIN_MESSAGE_MAP(CVorlanCfgDlg, CDialog)
    ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
    ON_BN_CLICKED(IDC_CLEAR_CACHE, OnClearCache)
END_MESSAGE_MAP()

CVorlanCfgDlg::CVorlanCfgDlg() : CDialog(IDD_OPTIONS) {}

void CVorlanCfgDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_PROJECT_URL, urlEdit_);
    DDX_Control(dx, IDC_SYNC_APP, syncAppCombo_);
    DDX_Text(dx, IDC_PROJECT_URL, url_);
    DDX_CBIndex(dx, IDC_SYNC_APP, syncApp_);
    DDX_Radio(dx, IDC_REPORT_AT_ONCE, errorLevelIndex_);
}

BOOL CVorlanCfgDlg::OnInitDialog() {
    ReadUserOrMachineString(settings::kPluginConfig, url_);
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    const bool windows9x = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
    if (windows9x) {
        errorLevelIndex_ = 2;
    } else {
        DWORD level = 0;
        if (ReadUserOrMachineDword(settings::kErrorLevel, &level) == ERROR_SUCCESS)
            errorLevelIndex_ = level <= 2 ? 2 - static_cast<int>(level) : -1;
    }
    DWORD syncApp = settings::kSyncAppProvider;
    ReadUserOrMachineDword(settings::kDefaultSyncApp, &syncApp);
    syncApp_ = syncApp <= settings::kSyncAppNone ? static_cast<int>(syncApp) : -1;

    HWND combo = GetDlgItem(IDC_SYNC_APP);
    for (const char* app : {"Microsoft ActiveSync with Vorlan", "Stelmar", "None"})
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(app));
    CDialog::OnInitDialog();

    if (windows9x) {
        ::EnableWindow(GetDlgItem(IDC_REPORT_AT_ONCE), FALSE);
        ::EnableWindow(GetDlgItem(IDC_REPORT_AT_END), FALSE);
    }
    // Completion is a convenience; the field works the same without it.
    EnableShellAutoComplete(urlEdit_.m_hWnd);
    // The front end can be switched only for a connected device.
    if (!ProviderSwitch().IsOpen()) syncAppCombo_.EnableWindow(FALSE);
    return TRUE;
}

bool CVorlanCfgDlg::Store(bool& runnerStarts) {
    runnerStarts = true;
    if (!Written(RegWriteString(settings::kUserPluginConfig, url_.c_str()))) return false;
    if (!Written(RegWriteDword(settings::kUserErrorLevel, static_cast<DWORD>(2 - errorLevelIndex_)))) return false;

    // Without a device the provider's switch stays as it was.
    const ProviderSwitch providerSwitch;
    if (providerSwitch.IsOpen() && FAILED(providerSwitch.SetDisabled(syncApp_ != settings::kSyncAppProvider)))
        return false;

    if (syncApp_ == settings::kSyncAppRunner) {
        std::string installDir, command;
        const LONG read = RegReadString(settings::kInstallDir, installDir);
        if (read != ERROR_SUCCESS && read != ERROR_FILE_NOT_FOUND && read != ERROR_MORE_DATA) return false;
        runnerStarts = read == ERROR_SUCCESS && MakeAutoStartCommand(installDir, command);
        if (runnerStarts && !Written(RegWriteString(settings::kRunnerAutoStart, command.c_str()))) return false;
    } else {
        const LONG removed = DeleteRegValue(settings::kRunnerAutoStart);
        if (removed != ERROR_SUCCESS && removed != ERROR_FILE_NOT_FOUND) return false;
    }
    return Written(RegWriteDword(settings::kUserDefaultSyncApp, static_cast<DWORD>(syncApp_)));
}

void CVorlanCfgDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    const std::string caption = LoadResourceString(IDS_CAPTION);
    bool runnerStarts = true;
    if (!Store(runnerStarts)) {
        MessageBox(LoadResourceString(IDS_NOT_SAVED), caption, MB_OK | MB_ICONERROR);
        return;
    }
    if (!runnerStarts) MessageBox(LoadResourceString(IDS_NO_AUTOSTART), caption, MB_OK | MB_ICONWARNING);
    EndDialog(IDOK);
}

void CVorlanCfgDlg::OnBrowse() {
    if (!UpdateData(TRUE)) return;
    std::string folder;
    if (!url_.empty()) {
        std::string expanded, path;
        if (ExpandEnvironment(url_, expanded, kProjectChars) && SUCCEEDED(UrlToLocalPath(expanded.c_str(), path))) {
            const size_t slash = path.find_last_of("\\/");
            if (slash != std::string::npos) folder = path.substr(0, slash + 1);
        }
    }
    std::string chosen;
    if (CDialogHelper(this).BrowseForFile("Vorlan files (*.xml)|*.xml", "xml", "Open File...", chosen, folder) ==
        1) {
        url_ = chosen;
        UpdateData(FALSE);
    }
}

void CVorlanCfgDlg::OnClearCache() {
    const std::string caption = LoadResourceString(IDS_CAPTION);
    if (SUCCEEDED(ClearCaches()))
        MessageBox(LoadResourceString(IDS_DONE), caption, MB_OK | MB_ICONINFORMATION);
    else
        MessageBox(LoadResourceString(IDS_CACHE_NOT_CLEARED), caption, MB_OK | MB_ICONERROR);
}

}  // namespace vorlan
