#include "FileManagementPropPg.h"

#include "Controls.h"
#include "FileWizardFlow.h"
#include "Picture.h"
#include "Resource.h"

namespace vorlan::filesync {
namespace {

constexpr int kPictures[kWizardOperations] = {206, 215, 213, 217, 211, 220, 210, 207,
                                              216, 214, 218, 212, 221, 209, 208, 223};

}  // namespace

BEGIN_MESSAGE_MAP(CFileManagementPropPg, CFileWizardPage)
    ON_CBN_SELCHANGE(IDC_OPERATION, OnOperationChanged)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CFileManagementPropPg::CFileManagementPropPg(FileItemPages& values) : CFileWizardPage(IDD_FILE_MANAGEMENT, values) {}

int CFileManagementPropPg::PictureOf(int index) {
    return index >= 0 && index < kWizardOperations ? kPictures[index] : kPictures[0];
}

void CFileManagementPropPg::DoDataExchange(CDataExchange* dx) { DDX_CBIndex(dx, IDC_OPERATION, Values().operation); }

BOOL CFileManagementPropPg::OnInitDialog() {
    CComboBox choices;
    choices.Attach(GetDlgItem(IDC_OPERATION));
    for (int index = 0; index < kWizardOperations; ++index)
        choices.AddString(Text(IDS_OPERATION_NAME_FIRST + index));
    choices.Detach();
    const BOOL result = CFileWizardPage::OnInitDialog();
    ShowChoice(Operation());
    return result;
}

BOOL CFileManagementPropPg::OnSetActive() {
    SetWizardButtons(PSWIZB_NEXT);
    const BOOL result = CFileWizardPage::OnSetActive();
    ShowChoice(Operation());
    return result;
}

LRESULT CFileManagementPropPg::OnWizardNext() { return PageTemplate(PageAfterOperation(Operation())); }

void CFileManagementPropPg::OnOperationChanged() {
    ShowChoice(static_cast<int>(SendDlgItemMessageA(m_hWnd, IDC_OPERATION, CB_GETCURSEL, 0, 0)));
}

void CFileManagementPropPg::ShowChoice(int index) {
    if (index < 0 || index >= kWizardOperations) return;
    Helper().SetItemText(IDC_OPERATION_DESCRIPTION, Text(IDS_OPERATION_DESCRIPTION_FIRST + index));
    if (index == shown_) return;
    shown_ = index;
    picture_ = std::make_unique<CPicture>(ResourceModule(), PictureOf(index));
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CFileManagementPropPg::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    if (picture_) picture_->Draw(dc, kPictureAt.x, kPictureAt.y);
    EndPaint(m_hWnd, &paint);
}

}  // namespace vorlan::filesync
