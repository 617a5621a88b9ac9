#pragma once
// CFileSyncOptionsPropPg: the two-way operations' last page: whether the
// pair may lose files, and who settles a conflict.
#include "FileWizardPage.h"

namespace vorlan::filesync {

class CFileSyncOptionsPropPg : public CFileWizardPage {
public:
    explicit CFileSyncOptionsPropPg(FileItemPages& values);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnSetActive() override;
};

}  // namespace vorlan::filesync
