#include "AboutDlg.h"

#include "Resource.h"
#include "Resources.h"

namespace vorlan::runner {

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_tooltip.Create(this, TTS_BALLOON)) {
        m_tooltip.SetMaxTipWidth(300);
        m_tooltip.AddTool(m_hWnd, LoadResourceString(IDS_SUPPORT_NOTICE));
        m_tooltip.SetDelayTime(TTDT_INITIAL, 0);
        m_tooltip.Activate(TRUE);
    }
    return TRUE;
}

}  // namespace vorlan::runner
