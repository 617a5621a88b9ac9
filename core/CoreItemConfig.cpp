#include "CoreItemConfig.h"

#include "AutoComplete.h"
#include "Bstr.h"
#include "ComponentRow.h"
#include "DialogHelper.h"
#include "MapStrToStrReg.h"
#include "Resource.h"
#include "Resources.h"
#include "Settings.h"
#include "Url.h"

namespace vorlan {
namespace {

// The description object of the plug-in whose synchroniser is progId:
// "Feldane.Vorlan" gives "Feldane.VorlanProperties".
std::string PropertiesProgId(const std::string& progId) {
    return progId.substr(0, progId.find('.')) + ".VorlanProperties";
}

bool SameText(const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) == 0; }

}  // namespace

BEGIN_MESSAGE_MAP(CCoreItemConfig, CDialog)
    ON_CONTROL(CBN_SELCHANGE, IDC_COMPONENT_TYPE, OnTypeChanged)
    ON_BN_CLICKED(IDC_ALWAYS_SYNC, OnAlwaysSyncClicked)
    ON_CONTROL(EN_CHANGE, IDC_COMPONENT_NAME, OnNameChanged)
    ON_CONTROL(EN_CHANGE, IDC_COMPONENT_URL, OnUrlChanged)
    ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CCoreItemConfig::CCoreItemConfig(IInfoNode* node) : CDialog(IDD_COMPONENT), node_(node) {}

std::string CCoreItemConfig::Field(const char* key) const {
    BSTR value = nullptr;
    if (FAILED(node_->GetProperty(com::Bstr::FromAnsi(key).Get(), &value))) return {};
    std::string text = com::AnsiFromBstr(value);
    SysFreeString(value);
    return text;
}

HRESULT CCoreItemConfig::SetField(const char* key, const std::string& value) const {
    return node_->SetAt(com::Bstr::FromAnsi(key).Get(), com::Bstr::FromAnsi(value).Get());
}

void CCoreItemConfig::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_COMPONENT_TYPE, type_);
    DDX_Control(dx, IDC_COMPONENT_URL, urlEdit_);
    DDX_Control(dx, IDC_COMPONENT_VERSION, versionEdit_);
    DDX_Control(dx, IDC_COMPONENT_PATCH, patchEdit_);
    DDX_Control(dx, IDC_COMPONENT_NAME, nameEdit_);
    DDX_Control(dx, IDC_ALWAYS_SYNC, alwaysSyncBox_);
    DDX_Text(dx, IDC_COMPONENT_NAME, name_);
    DDX_Text(dx, IDC_COMPONENT_URL, url_);
    DDX_Check(dx, IDC_ALWAYS_SYNC, alwaysSync_);
    DDX_Text(dx, IDC_COMPONENT_VERSION, version_);
    DDV_MinMaxFloat(dx, version_, 0, 9999);
    DDX_Text(dx, IDC_COMPONENT_PATCH, patch_);
}

void CCoreItemConfig::FillPluginList() {
    CMapStrToStrReg list;
    list.Load(settings::kPluginList);
    for (const auto& [table, progId] : list) {
        auto wrapper = std::make_unique<CVorlanPropWrapper>(PropertiesProgId(progId));
        if (*wrapper) plugins_.push_back(std::move(wrapper));
    }
}

BOOL CCoreItemConfig::OnInitDialog() {
    name_ = Field("Name");
    url_ = Field("ConfigUrl");
    originalVersion_ = Field("Version");
    const ComponentFields fields = ReadComponentFields(Field("AlwaysSync"), originalVersion_, Field("Patch"));
    alwaysSync_ = fields.alwaysSync ? BST_CHECKED : BST_UNCHECKED;
    version_ = fields.version;
    patch_ = fields.patch;
    fillingUrl_ = true;  // the dialog's own filling is no edit of the URL
    CDialog::OnInitDialog();
    fillingUrl_ = false;
    urlFollowsName_ = url_.empty();
    EnableShellAutoComplete(urlEdit_.m_hWnd);  // a convenience only

    FillPluginList();
    if (tips_.Create(this)) {
        const std::pair<int, UINT> tips[] = {
            {IDC_COMPONENT_NAME, IDS_TIP_NAME},       {IDC_COMPONENT_URL, IDS_TIP_URL},
            {IDC_COMPONENT_TYPE, IDS_TIP_TYPE},       {IDC_ALWAYS_SYNC, IDS_TIP_ALWAYS_SYNC},
            {IDC_COMPONENT_VERSION, IDS_TIP_VERSION}, {IDC_COMPONENT_PATCH, IDS_TIP_PATCH},
        };
        for (const auto& [control, text] : tips) tips_.AddTool(GetDlgItem(control), LoadResourceString(text));
        tips_.SetDelayTime(TTDT_AUTOMATIC, 5000);
        tips_.SetMaxTipWidth(300);
        tips_.Activate(TRUE);
    }

    const std::string progId = Field("ProgId");
    int selected = -1;
    for (const auto& plugin : plugins_) {
        const int index = type_.AddString(plugin->ReadableName());
        type_.SetItemData(index, reinterpret_cast<DWORD_PTR>(plugin.get()));
    }
    // The combo box sorts nothing, so entries keep the list's order; the
    // last plug-in that answers to the row's ProgId is chosen.
    for (int i = 0; i < static_cast<int>(plugins_.size()); ++i)
        if (SameText(plugins_[i]->ProgId(), progId)) selected = i;
    type_.SetCurSel(selected);
    ShowDescription();
    EnableVersionFields();
    shownVersion_ = versionEdit_.GetWindowText();
    return TRUE;
}

void CCoreItemConfig::ShowDescription() {
    const int index = type_.GetCurSel();
    const std::string text =
        index >= 0 && index < static_cast<int>(plugins_.size()) ? plugins_[index]->Description() : std::string();
    SetDlgItemTextA(m_hWnd, IDC_COMPONENT_DESCRIPTION, text.c_str());
}

void CCoreItemConfig::EnableVersionFields() {
    const BOOL free = alwaysSyncBox_.GetCheck() != BST_CHECKED;
    versionEdit_.EnableWindow(free);
    patchEdit_.EnableWindow(free);
}

void CCoreItemConfig::OnNameChanged() {
    if (!urlFollowsName_ || !urlEdit_.m_hWnd) return;
    fillingUrl_ = true;
    const std::string name = nameEdit_.GetWindowText();
    SetWindowTextA(urlEdit_.m_hWnd, name.empty() ? "" : (name + ".xml").c_str());
    fillingUrl_ = false;
}

void CCoreItemConfig::OnUrlChanged() {
    if (!fillingUrl_) urlFollowsName_ = false;
}

void CCoreItemConfig::OnBrowse() {
    std::string folder;
    const std::string url = urlEdit_.GetWindowText();
    GetCombinedLocalPath(url.c_str(), Field("QvMy_URL").c_str(), &folder, FALSE);
    std::string chosen;
    if (CDialogHelper(this).BrowseForFile("Vorlan files (*.xml)|*.xml", "xml", "Open File...", chosen, folder) != 1)
        return;
    urlFollowsName_ = false;
    fillingUrl_ = true;
    SetWindowTextA(urlEdit_.m_hWnd, WithTableExtension(chosen).c_str());
    fillingUrl_ = false;
}

void CCoreItemConfig::OnOK() {
    if (!UpdateData(TRUE)) return;
    if (name_.empty() || url_.empty()) {
        MessageBox(LoadResourceString(IDS_NAME_AND_URL), LoadResourceString(IDS_CAPTION), MB_OK | MB_ICONINFORMATION);
        return;
    }
    const int index = type_.GetCurSel();
    const bool always = alwaysSync_ == BST_CHECKED;
    HRESULT hr = SetField("Name", name_);
    if (SUCCEEDED(hr) && index >= 0 && index < static_cast<int>(plugins_.size()))
        hr = SetField("ProgId", plugins_[index]->ProgId());
    if (SUCCEEDED(hr)) hr = SetField("ConfigUrl", url_);
    if (always) {
        // The engine reads these empty fields as 1.0, 0 and 1.
        for (const char* key : {"Version", "Patch", "AlwaysSync"})
            if (SUCCEEDED(hr)) hr = SetField(key, "");
    } else {
        if (SUCCEEDED(hr)) hr = SetField("AlwaysSync", "0");
        if (SUCCEEDED(hr)) hr = SetField("Version", VersionToStore(originalVersion_, versionEdit_.GetWindowText() != shownVersion_, version_));
        if (SUCCEEDED(hr)) hr = SetField("Patch", std::to_string(patch_));
    }
    if (FAILED(hr)) {
        MessageBox(LoadResourceString(IDS_NOT_SAVED), LoadResourceString(IDS_CAPTION), MB_OK | MB_ICONERROR);
        return;
    }
    EndDialog(IDOK);
}

}  // namespace vorlan
