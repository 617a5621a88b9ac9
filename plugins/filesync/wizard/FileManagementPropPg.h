#pragma once
// CFileManagementPropPg: the wizard's first page, the operation. The
// description and the picture follow the choice; Next goes to the page the
// operation needs first.
#include <memory>

#include "FileWizardPage.h"
#include "Picture.h"

namespace vorlan::filesync {

class CFileManagementPropPg : public CFileWizardPage {
public:
    explicit CFileManagementPropPg(FileItemPages& values);

    // Where the picture is drawn on the page, in pixels.
    static constexpr POINT kPictureAt = {29, 195};
    // The bitmap resource of a choice.
    static int PictureOf(int index);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;
    void OnOperationChanged();
    void OnPaint();

private:
    void ShowChoice(int index);

    int shown_ = -1;
    std::unique_ptr<CPicture> picture_;
    DECLARE_MESSAGE_MAP()
};

}  // namespace vorlan::filesync
