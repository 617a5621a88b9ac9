#pragma once
// Kessryn's window: the pairs two-way synchronisation left in conflict on
// the connected device, one row each, and Resolve, which copies the chosen
// side over the other and records the pair as settled on both sides.
#include <string>
#include <vector>

#include "CeDeviceInfo.h"
#include "ConflictRows.h"
#include "HtmlDialog.h"

struct IQvFileCopy;  // the file plug-in's copy object (feldane.h)

namespace vorlan::conflicts {

class CKessrynDlg : public CHtmlDialog {
public:
    CKessrynDlg();
    // The page of this module, shown modally.
    INT_PTR DoModal(HWND owner = nullptr);
    // The page made and left hidden (tests show it themselves).
    bool Create(HWND owner = nullptr);
    // The pairs listed, by row number - 1.
    const std::vector<Conflict>& Conflicts() const { return conflicts_; }
    const std::string& StatePath() const { return statePath_; }
    // Applies the choices of every row.
    void Resolve();

protected:
    void OnPageLoaded() override;
    void OnElementClick(const std::string& id) override;
    // The file plug-in's copy object (a test may stand in for a missing one).
    virtual HRESULT CreateFileCopy(IQvFileCopy** copy);

private:
    void List();
    // A text in place of the rows, with Resolve disabled.
    void ShowInstead(UINT stringId);
    void ShowText(const std::string& text);
    // Copies, checks both sides' CRCs and records the pair; false when it
    // is not settled.
    bool Settle(IQvFileCopy& copy, const Conflict& pair, int choice);

    CCeDeviceInfo device_;  // holds Kessryn's own device session
    std::string statePath_;
    std::vector<Conflict> conflicts_;
};

}  // namespace vorlan::conflicts
