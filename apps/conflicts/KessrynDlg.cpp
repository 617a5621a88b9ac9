#include "KessrynDlg.h"

#include <algorithm>
#include <cstdio>

#include "Bstr.h"
#include "ComPtr.h"
#include "FileCrc.h"
#include "FolderPairs.h"
#include "HtmlEscape.h"
#include "MessageText.h"
#include "feldane.h"
#include "Resource.h"
#include "Resources.h"
#include "StateFile.h"
#include "TwoWaySyncData.h"

namespace vorlan::conflicts {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 460;

// Waits with the wait cursor for as long as it lives.
struct WaitCursor {
    WaitCursor() { CWnd::BeginWaitCursor(); }
    ~WaitCursor() { CWnd::EndWaitCursor(); }
};

}  // namespace

INT_PTR CKessrynDlg::DoModal(HWND owner) {
    return CHtmlDialog::DoModal(GetModuleHandleA(nullptr), "#" + std::to_string(IDR_PAGE), owner, kWidth, kHeight);
}

bool CKessrynDlg::Create(HWND owner) {
    return CHtmlDialog::Create(GetModuleHandleA(nullptr), "#" + std::to_string(IDR_PAGE), owner, kWidth, kHeight);
}

CKessrynDlg::CKessrynDlg() {
    SetIcon(IDR_MAINFRAME);
    SetAboutBox(LoadResourceString(IDS_ABOUTBOX), IDD_ABOUTBOX);
}

void CKessrynDlg::ShowInstead(UINT stringId) { ShowText(LoadResourceString(stringId)); }

void CKessrynDlg::ShowText(const std::string& text) {
    if (!SetInnerHtml("fileList", "<p>" + EscapeHtml(text) + "</p>"))
        MessageBox(LastError(), LoadResourceString(IDS_CAPTION), MB_ICONWARNING);
    EnableElement("ButtonResolve", false);
}

void CKessrynDlg::OnPageLoaded() { List(); }

void CKessrynDlg::List() {
    WaitCursor wait;
    conflicts_.clear();
    // No device: nothing is read, and no file of an unknown device is made.
    if (FAILED(device_.Init()) || FAILED(GetTwoWaySyncDataPath(statePath_))) {
        statePath_.clear();
        ShowInstead(IDS_NO_DEVICE);
        return;
    }
    std::vector<std::pair<std::string, std::string>> sections;
    if (HRESULT hr = ReadStateSections(statePath_, sections); FAILED(hr)) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
        ShowText(ReplaceInsertsInOrder(LoadResourceString(IDS_STATE_UNREADABLE), {statePath_, code}));
        return;
    }
    conflicts_ = SelectConflicts(sections);
    if (conflicts_.empty()) {
        ShowInstead(IDS_NO_CONFLICT);
        return;
    }
    const std::vector<bool> folders = FindFolderPairs(conflicts_);
    for (size_t i = 0; i < conflicts_.size(); ++i) conflicts_[i].folder = folders[i];
    if (!SetInnerHtml("fileList", BuildRows(LoadResourceString(IDS_ROW_TEMPLATE), conflicts_,
                                            LoadResourceString(IDS_FOLDER_NOTE)))) {
        MessageBox(LastError(), LoadResourceString(IDS_CAPTION), MB_ICONWARNING);
        EnableElement("ButtonResolve", false);
        return;
    }
    for (size_t n = 1; n <= conflicts_.size(); ++n) {
        if (!conflicts_[n - 1].folder) continue;
        SetRadioChecked(RadioId(3, n), true);
        EnableElement(RadioId(1, n), false);
        EnableElement(RadioId(2, n), false);
    }
}

void CKessrynDlg::OnElementClick(const std::string& id) {
    if (id == "ButtonOK") EndDialog(IDOK);
    if (id == "ButtonResolve") Resolve();
}

bool CKessrynDlg::Settle(IQvFileCopy& copy, const Conflict& pair, int choice) {
    // A device path too long for the device's checksum call (255
    // characters) or its record (519) could not be checked or recorded
    // afterwards: such a pair is not copied at all.
    const size_t longest = std::min(filesync::kDeviceCrcPathChars, filesync::kDeviceRecordPathChars);
    if (com::WideFromAnsi(pair.device).size() > longest) return false;
    com::Bstr desktop = com::Bstr::FromAnsi(pair.desktop), device = com::Bstr::FromAnsi(pair.device);
    com::Bstr none = com::Bstr::FromAnsi(""), fromDevice = com::Bstr::FromAnsi("QV_CREATE_FILE_FROM_CE");
    HRESULT hr = choice == 1 ? copy.CeFileCopy(desktop.Get(), device.Get(), none.Get(), none.Get())
                             : copy.CeFileCopy(device.Get(), desktop.Get(), fromDevice.Get(), none.Get());
    if (FAILED(hr)) return false;
    // The copy can report success over a failed write: both sides must
    // now hold the same bytes before anything is recorded.
    DWORD desktopCrc = 0, deviceCrc = 0;
    if (FAILED(filesync::CalcFileCrc32(pair.desktop.c_str(), &desktopCrc, FALSE))) return false;
    if (FAILED(filesync::CeCalcCrc32OnDevice(pair.device.c_str(), &deviceCrc, 0))) return false;
    if (desktopCrc != deviceCrc) return false;
    if (FAILED(filesync::CeUpdateFileCrcRecordOnDevice(pair.device.c_str(), desktopCrc))) return false;
    return SUCCEEDED(WriteSettledPair(statePath_, pair.desktop, desktopCrc));
}

HRESULT CKessrynDlg::CreateFileCopy(IQvFileCopy** copy) {
    return CoCreateInstance(CLSID_QvFileCopy, nullptr, CLSCTX_INPROC_SERVER, IID_IQvFileCopy,
                            reinterpret_cast<void**>(copy));
}

void CKessrynDlg::Resolve() {
    const std::string caption = LoadResourceString(IDS_CAPTION);
    com::ComPtr<IQvFileCopy> copy;
    if (FAILED(CreateFileCopy(copy.Put()))) {
        MessageBox(LoadResourceString(IDS_NOT_INSTALLED), caption, MB_ICONWARNING);
        return;
    }
    bool failed = false;
    {
        WaitCursor wait;
        for (size_t n = 1; n <= conflicts_.size(); ++n) {
            int choice = GetRadioChecked(RadioId(1, n)) ? 1 : GetRadioChecked(RadioId(2, n)) ? 2 : 3;
            if (choice == 3) continue;  // skipped: stays marked for a later run
            if (IsFolderPair(conflicts_[n - 1])) continue;  // never copied here
            if (!Settle(*copy.Get(), conflicts_[n - 1], choice)) failed = true;
        }
    }
    if (failed)
        MessageBox(LoadResourceString(IDS_NOT_ALL_RESOLVED), caption, MB_ICONWARNING);
    else
        MessageBox(LoadResourceString(IDS_ALL_RESOLVED), caption, MB_ICONINFORMATION);
}

}  // namespace vorlan::conflicts
