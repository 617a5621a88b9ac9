#pragma once
// CFileDestinyProgPg: the destination of every operation and the file
// attributes a copy gets (none for deletions and new folders). The wizard
// ends here, except for the two-way operations, whose options follow.
#include "FileWizardPage.h"

namespace vorlan::filesync {

class CFileDestinyProgPg : public CFileWizardPage {
public:
    explicit CFileDestinyProgPg(FileItemPages& values);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;
    BOOL OnWizardFinish() override;
    void OnPreserveClicked();
    void OnBrowse();

private:
    // The destination may be left; says why not.
    bool AcceptDestination() const;
    void EnableAttributes() const;

    DECLARE_MESSAGE_MAP()
};

}  // namespace vorlan::filesync
