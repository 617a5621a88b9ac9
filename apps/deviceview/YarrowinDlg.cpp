#include "YarrowinDlg.h"

#include "DevicePage.h"
#include "HtmlImage.h"
#include "Resource.h"
#include "Resources.h"

namespace vorlan::deviceview {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 470;
// The tables of facts, with the device information class's variables.
constexpr char kFactsTemplate[] = "DEVICEPROPERTIES";

}  // namespace

CYarrowinDlg::CYarrowinDlg() {
    SetIcon(IDR_MAINFRAME);
    SetAboutBox(LoadResourceString(IDS_ABOUTBOX), IDD_ABOUTBOX);
}

INT_PTR CYarrowinDlg::DoModal(HWND owner) {
    return CHtmlDialog::DoModal(GetModuleHandleA(nullptr), "#" + std::to_string(IDR_PAGE), owner, kWidth, kHeight);
}

bool CYarrowinDlg::Create(HWND owner) {
    return CHtmlDialog::Create(GetModuleHandleA(nullptr), "#" + std::to_string(IDR_PAGE), owner, kWidth, kHeight);
}

void CYarrowinDlg::OnPageLoaded() {
    BeginWaitCursor();
    std::string page, failure;
    if (FAILED(device_.Init()))
        page = LoadResourceString(IDS_NO_DEVICE);
    else if (LoadPageResource(GetModuleHandleA(nullptr), kFactsTemplate, page))
        page = FillDevicePage(page, device_.SystemVariables());
    else
        failure = std::string("no page resource \"") + kFactsTemplate + "\"";
    if (failure.empty() && !SetInnerHtml("deviceproperties", page)) failure = LastError();
    EndWaitCursor();
    if (!failure.empty()) MessageBox(failure, LoadResourceString(IDS_CAPTION), MB_ICONWARNING);
}

void CYarrowinDlg::OnElementClick(const std::string& id) {
    if (id == "ButtonClose") EndDialog(IDOK);
}

}  // namespace vorlan::deviceview
