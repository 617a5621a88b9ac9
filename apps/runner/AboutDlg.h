#pragma once
// The About box (dialog 100): name and version, and a balloon tip over the
// dialog with the support notice.
#include "Controls.h"
#include "Dialog.h"

namespace vorlan::runner {

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    const CToolTipCtrl& ToolTip() const { return m_tooltip; }

protected:
    BOOL OnInitDialog() override;

private:
    CToolTipCtrl m_tooltip;
};

}  // namespace vorlan::runner
