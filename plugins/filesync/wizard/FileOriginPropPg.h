#pragma once
// CFileOriginPropPg: the origin of a file operation (a workstation file, a
// URL or a device file) and, for copies from a URL, the download options,
// which follow the origin's kind as it is typed.
#include "FileWizardPage.h"

namespace vorlan::filesync {

class CFileOriginPropPg : public CFileWizardPage {
public:
    explicit CFileOriginPropPg(FileItemPages& values);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;
    void OnOriginChanged();
    void OnBrowse();

private:
    void FollowOriginKind();

    bool completing_ = false;
    DECLARE_MESSAGE_MAP()
};

}  // namespace vorlan::filesync
