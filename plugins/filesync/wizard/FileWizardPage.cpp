#include "FileWizardPage.h"

#include "DeviceChoosers.h"
#include "MessageBox.h"
#include "Resource.h"
#include "Resources.h"
#include "WizardUrlKind.h"

namespace vorlan::filesync {
namespace {

// The device path limit, as every caller of the device's choosers passes.
constexpr int kDevicePathBytes = 260;

// The folder part of a device path, with its closing backslash.
std::string DeviceFolderOf(const std::string& path) {
    const size_t cut = path.rfind('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace

int PageTemplate(WizardPage page) {
    switch (page) {
        case WizardPage::kOperation:
            return IDD_FILE_MANAGEMENT;
        case WizardPage::kOrigin:
            return IDD_FILE_ORIGIN;
        case WizardPage::kFolder:
            return IDD_FOLDER_ORIGIN;
        case WizardPage::kDestination:
            return IDD_FILE_DESTINATION;
        case WizardPage::kOptions:
            return IDD_FILE_SYNC_OPTIONS;
    }
    return IDD_FILE_MANAGEMENT;
}

CFileWizardPage::CFileWizardPage(int templateId, FileItemPages& values)
    : CPropertyPage(templateId), values_(values), helper_(this) {}

const UrlKindOf& CFileWizardPage::UrlKinds() {
    static const UrlKindOf kinds = &WizardUrlKind;
    return kinds;
}

UrlKind CFileWizardPage::KindOf(const std::string& text) const { return WizardUrlKind(text, values_.tableUrl); }

std::string CFileWizardPage::ItemText(int id) const {
    HWND item = GetDlgItem(id);
    return item ? CWnd(item).GetWindowText() : std::string();
}

std::string CFileWizardPage::Text(unsigned id) const { return LoadResourceString(id, ResourceModule()); }

void CFileWizardPage::Refuse(unsigned stringId) const {
    ShowMessageBox(m_hWnd, Text(stringId), Text(IDS_PLUGIN_NAME), MB_OK | MB_ICONERROR);
}

void CFileWizardPage::ExchangeCheck(CDataExchange* dx, int id, bool& value) {
    int state = value ? BST_CHECKED : BST_UNCHECKED;
    DDX_Check(dx, id, state);
    if (dx->m_bSaveAndValidate) value = state == BST_CHECKED;
}

void CFileWizardPage::SetWizardButtons(DWORD flags) const {
    if (CPropertySheet* sheet = GetSheet()) sheet->SetWizardButtons(flags);
}

void CFileWizardPage::BrowseInto(int editId, bool onDevice, bool folder) const {
    const std::string text = ItemText(editId);
    std::string chosen;
    if (onDevice) {
        char buffer[kDevicePathBytes] = {};
        const int answer = folder ? BrowseDeviceFolder(buffer, sizeof buffer, text.c_str())
                                  : BrowseDeviceFile(buffer, sizeof buffer, DeviceFolderOf(text).c_str());
        if (answer == -1) Refuse(IDS_NO_DEVICE_BROWSER);
        if (answer != IDOK) return;
        chosen = buffer;
    } else {
        const std::string start = StartFolderOf(text, values_.tableUrl, folder);
        const bool picked =
            folder ? helper_.BrowseForFolder(0, chosen, start, Text(IDS_BROWSE_FOLDER_TITLE)) == 1
                   : helper_.BrowseForFile(Text(IDS_BROWSE_FILE_FILTER), "",
                                           Text(IDS_BROWSE_FILE_TITLE), chosen, start) == 1;
        if (!picked) return;
    }
    SetDlgItemTextA(m_hWnd, editId, chosen.c_str());
}

}  // namespace vorlan::filesync
